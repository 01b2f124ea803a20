// Local-socket pipes over a loopback: whole messages, the server's write limit, names, events on
// the main thread in order, and the ends of connections.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/win/main_thread.h"
#include "platform/win/pipe_client.h"
#include "platform/win/pipe_server.h"
#include "tests/support/main_thread_pump.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

using test::PumpUntil;

// What a component reported, in order, as "kind:pipe:detail" lines; every event checks it runs
// on the main thread.
struct Recorder {
    std::vector<std::string> events;
    std::vector<std::string> messages;
    bool offMain = false;

    void Note(const std::string& line) {
        if (!IsMainThread()) offMain = true;
        events.push_back(line);
    }
    template <class C>
    void Watch(C& c) {
        c.OnPipeMessage = [this](TObject*, uint32_t pipe, TStream* s) {
            messages.push_back(StreamBytes(*s));
            Note("message:" + std::to_string(pipe));
        };
        c.OnPipeSent = [this](TObject*, uint32_t pipe, uint32_t size) {
            Note("sent:" + std::to_string(pipe) + ":" + std::to_string(size));
        };
        c.OnPipeDisconnect = [this](TObject*, uint32_t pipe) { Note("disconnect:" + std::to_string(pipe)); };
        c.OnPipeError = [this](TObject*, uint32_t pipe, TPipeContext ctx, int32_t err) {
            Note("error:" + std::to_string(pipe) + ":" + std::to_string(ctx) + ":" + std::to_string(err));
        };
    }
    bool Has(const std::string& prefix) const {
        for (const auto& e : events)
            if (e.rfind(prefix, 0) == 0) return true;
        return false;
    }
};

class PipeTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.SetPipeName("TestPipe");
        server.SetSocketFolder(dir.Root());
        serverLog.Watch(server);
        server.OnPipeConnect = [this](TObject*, uint32_t pipe) {
            serverLog.Note("connect:" + std::to_string(pipe));
        };
    }
    void TearDown() override {
        // Deliver what is still queued while the components exist, so no test leaks into the next.
        test::PumpFor(50);
    }

    std::unique_ptr<TPipeClient> NewClient(Recorder& log) {
        auto c = std::make_unique<TPipeClient>();
        c->SetPipeName("TestPipe");
        c->SetSocketFolder(dir.Root());
        log.Watch(*c);
        return c;
    }
    // Connects a client and waits until the server has seen it.
    std::unique_ptr<TPipeClient> Connected(Recorder& log) {
        auto c = NewClient(log);
        size_t before = server.ClientCount();
        EXPECT_TRUE(c->Connect(1000));
        EXPECT_TRUE(PumpUntil(
            [&] { return static_cast<size_t>(server.ClientCount()) > before && serverLog.Has("connect:"); }));
        return c;
    }

    test::TempDir dir;
    TPipeServer server;
    Recorder serverLog;
};

TEST(PipeName, NamesAreCheckedAsThePipePropertiesRequire) {
    struct Case {
        std::string name;
        bool valid;
    };
    const Case cases[] = {
        {"BrismarkXML", true}, {std::string(63, 'n'), true}, {std::string(64, 'n'), false},   {"", false},
        {"a\\b", false},       {"../escape", false},         {std::string("a\0b", 3), false},
    };
    for (const auto& c : cases) {
        TPipeServer s;
        TPipeClient cl;
        if (c.valid) {
            EXPECT_NO_THROW(s.SetPipeName(c.name));
            EXPECT_NO_THROW(cl.SetPipeName(c.name));
            EXPECT_EQ(s.PipeName(), c.name);
        } else {
            for (auto set : {std::function<void()>([&] { s.SetPipeName(c.name); }),
                             std::function<void()>([&] { cl.SetPipeName(c.name); })}) {
                try {
                    set();
                    ADD_FAILURE() << "accepted " << c.name;
                } catch (const EPipeException& e) {
                    EXPECT_EQ(e.Message, "Invalid pipe name specified!");
                }
            }
        }
    }
}

TEST_F(PipeTest, A70000ByteClientMessageArrivesAsOneMessage) {
    server.SetActive(true);
    ASSERT_TRUE(server.Active());
    Recorder clientLog;
    auto client = Connected(clientLog);
    std::string big(70000, 'x');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('a' + i % 26);
    ASSERT_TRUE(client->Write(big.data(), big.size()));
    ASSERT_TRUE(PumpUntil([&] { return !serverLog.messages.empty() && clientLog.Has("sent:"); }));
    EXPECT_EQ(serverLog.messages.size(), 1u);
    EXPECT_EQ(serverLog.messages[0], big);
    EXPECT_TRUE(clientLog.Has("sent:" + std::to_string(client->Pipe()) + ":70000"));
    EXPECT_FALSE(serverLog.offMain);
    EXPECT_FALSE(clientLog.offMain);
}

TEST_F(PipeTest, TheServerWritesAtMost65535BytesAndOnlyToItsClients) {
    server.SetActive(true);
    Recorder clientLog;
    auto client = Connected(clientLog);
    uint32_t pipe = server.Clients(0);
    std::string fits(65535, 'a'), tooLong(65536, 'b');
    EXPECT_FALSE(server.Write(pipe, tooLong.data(), tooLong.size()));
    EXPECT_FALSE(server.Write(pipe + 1000, fits.data(), fits.size())) << "not a client";
    EXPECT_TRUE(server.Write(pipe, fits.data(), fits.size()));
    ASSERT_TRUE(PumpUntil([&] { return !clientLog.messages.empty(); }));
    EXPECT_EQ(clientLog.messages, std::vector<std::string>{fits});
    EXPECT_TRUE(PumpUntil([&] { return serverLog.Has("sent:" + std::to_string(pipe) + ":65535"); }));
}

TEST_F(PipeTest, EventsArriveOnTheMainThreadInTheOrderTheyHappened) {
    server.SetActive(true);
    Recorder clientLog;
    auto client = NewClient(clientLog);
    ASSERT_TRUE(client->Connect(1000));
    for (const char* m : {"one", "", "three"}) ASSERT_TRUE(client->Write(m, std::string(m).size()));
    client->Disconnect();
    ASSERT_TRUE(PumpUntil([&] { return serverLog.Has("disconnect:"); }));
    ASSERT_EQ(serverLog.events.size(), 5u);
    std::string p = serverLog.events[0].substr(std::string("connect:").size());
    EXPECT_EQ(serverLog.events, (std::vector<std::string>{"connect:" + p, "message:" + p, "message:" + p,
                                                          "message:" + p, "disconnect:" + p}));
    EXPECT_EQ(serverLog.messages, (std::vector<std::string>{"one", "", "three"}));
    EXPECT_TRUE(PumpUntil([&] { return clientLog.Has("disconnect:"); }));
    EXPECT_FALSE(serverLog.offMain);
}

TEST_F(PipeTest, BroadcastReachesEveryClient) {
    server.SetActive(true);
    EXPECT_TRUE(server.Broadcast("x", 1)) << "no client: nothing to refuse";
    Recorder a, b;
    auto ca = Connected(a);
    auto cb = Connected(b);
    ASSERT_EQ(server.ClientCount(), 2);
    EXPECT_TRUE(server.Broadcast("hello", 5));
    ASSERT_TRUE(PumpUntil([&] { return !a.messages.empty() && !b.messages.empty(); }));
    EXPECT_EQ(a.messages[0], "hello");
    EXPECT_EQ(b.messages[0], "hello");
    std::string tooLong(65536, 'z');
    EXPECT_FALSE(server.Broadcast(tooLong.data(), tooLong.size()));
}

TEST_F(PipeTest, ConnectWithoutAServerOrToAnotherMachineAnswersFalseAtOnce) {
    Recorder log;
    auto client = NewClient(log);
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(client->Connect(3000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_FALSE(client->Write("x", 1)) << "not connected: nothing queued";

    server.SetActive(true);
    client->SetServerName("some-other-host.example");
    EXPECT_FALSE(client->Connect(100));
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    std::string upper(host);
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    client->SetServerName(upper);
    EXPECT_TRUE(client->Connect(1000)) << "this computer's name in other letters is this machine";
    EXPECT_TRUE(client->Connect(0)) << "already connected";
    try {
        client->SetPipeName("Other");
        ADD_FAILURE() << "renamed while connected";
    } catch (const EPipeException& e) {
        EXPECT_EQ(e.Message, "Cannot change property when client is connected!");
    }
    try {
        server.SetPipeName("Other");
        ADD_FAILURE() << "renamed while active";
    } catch (const EPipeException& e) {
        EXPECT_EQ(e.Message, "Cannot change property while server is active!");
    }
}

TEST_F(PipeTest, DeactivatingTheServerEndsItsClientsQuicklyAndRemovesTheSocket) {
    server.SetActive(true);
    Recorder clientLog;
    auto client = Connected(clientLog);
    ASSERT_TRUE(dir.Exists("TestPipe"));
    auto start = std::chrono::steady_clock::now();
    server.SetActive(false);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_FALSE(server.Active());
    EXPECT_EQ(server.ClientCount(), 0);
    EXPECT_FALSE(dir.Exists("TestPipe"));
    ASSERT_TRUE(PumpUntil([&] { return !client->Connected(); }));
    EXPECT_TRUE(clientLog.Has("disconnect:"));
    EXPECT_FALSE(clientLog.Has("error:")) << "the server going away is the normal end";
    EXPECT_FALSE(serverLog.Has("disconnect:")) << "no disconnect events while shutting down";
}

TEST_F(PipeTest, AQueuedMessageStillGoesOutWhenTheClientDisconnects) {
    server.SetActive(true);
    Recorder clientLog;
    auto client = Connected(clientLog);
    std::string text(200000, 'q');
    ASSERT_TRUE(client->Write(text.data(), text.size()));
    client.reset();  // destroyed at once, as a second start ends after its hand-off
    ASSERT_TRUE(PumpUntil([&] { return !serverLog.messages.empty(); }));
    EXPECT_EQ(serverLog.messages[0], text);
}

TEST_F(PipeTest, ALeftoverSocketIsReplacedButALiveServerIsNot) {
    // A socket file nobody listens on, as a crashed program leaves it.
    {
        int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::string path = dir.Path("TestPipe");
        path.copy(addr.sun_path, path.size());
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        ::close(fd);
    }
    server.SetActive(true);
    EXPECT_TRUE(server.Active());

    TPipeServer second;
    second.SetPipeName("TestPipe");
    second.SetSocketFolder(dir.Root());
    Recorder secondLog;
    secondLog.Watch(second);
    second.SetActive(true);
    EXPECT_FALSE(second.Active());
    ASSERT_TRUE(PumpUntil([&] { return secondLog.Has("error:"); }));
    EXPECT_EQ(secondLog.events[0], "error:0:0:" + std::to_string(EADDRINUSE));

    Recorder clientLog;
    auto client = Connected(clientLog);
    EXPECT_TRUE(client->Connected()) << "the first server still serves";
}

}  // namespace
}  // namespace tv
