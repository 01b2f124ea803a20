#include "kit_library.h"

#include <fcntl.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace tv::kit_test {

std::string KitPath() {
    return std::string(TV_BINARY_DIR) + "/kit/" ADK_LIBRARY_FILE_NAME;
}
std::string DemoFixture() { return std::string(TV_FIXTURES_DIR) + "/kit/demo_company.sql"; }

std::string AdkctlPath() {
    return std::string(TV_BINARY_DIR) + "/kit/adkctl";
}

namespace {
template <typename F>
void Bind(void* module, F& fn, const char* name) {
    fn = reinterpret_cast<F>(dlsym(module, name));
    if (!fn) throw std::runtime_error(std::string("missing export ") + name);
}

Kit Load() {
    Kit k;
    k.module = dlopen(KitPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!k.module) throw std::runtime_error(dlerror());
    Bind(k.module, k.Open, "AdkOpen");
    Bind(k.module, k.OpenEx, "AdkOpenEx");
    Bind(k.module, k.Open2, "AdkOpen2");
    Bind(k.module, k.Close, "AdkClose");
    Bind(k.module, k.CreateData, "AdkCreateData");
    Bind(k.module, k.CreateDataRow, "AdkCreateDataRow");
    Bind(k.module, k.GetDataRow, "AdkGetDataRow");
    Bind(k.module, k.ResetStruct, "AdkResetStruct");
    Bind(k.module, k.DeleteStruct, "AdkDeleteStruct");
    Bind(k.module, k.LongToDate, "AdkLongToDate");
    Bind(k.module, k.DateToLong, "AdkDateToLong");
    Bind(k.module, k.LongToDateTime, "AdkLongToDateTime");
    Bind(k.module, k.DateTimeToLong, "AdkDateTimeToLong");
    Bind(k.module, k.GetStr, "AdkGetStr");
    Bind(k.module, k.GetBool, "AdkGetBool");
    Bind(k.module, k.GetData, "AdkGetData");
    Bind(k.module, k.GetDouble, "AdkGetDouble");
    Bind(k.module, k.GetDate, "AdkGetDate");
    Bind(k.module, k.SetStr, "AdkSetStr");
    Bind(k.module, k.SetBool, "AdkSetBool");
    Bind(k.module, k.SetData, "AdkSetData");
    Bind(k.module, k.SetDouble, "AdkSetDouble");
    Bind(k.module, k.SetDate, "AdkSetDate");
    Bind(k.module, k.GetType, "AdkGetType");
    Bind(k.module, k.GetLength, "AdkGetLength");
    Bind(k.module, k.GetDecimals, "AdkGetDecimals");
    Bind(k.module, k.IsReadWrite, "AdkIsReadWrite");
    Bind(k.module, k.Add, "AdkAdd");
    Bind(k.module, k.Update, "AdkUpdate");
    Bind(k.module, k.First, "AdkFirst");
    Bind(k.module, k.Last, "AdkLast");
    Bind(k.module, k.Delete, "AdkDelete");
    Bind(k.module, k.Find, "AdkFind");
    Bind(k.module, k.Next, "AdkNext");
    Bind(k.module, k.Previous, "AdkPrevious");
    Bind(k.module, k.FindEx, "AdkFindEx");
    Bind(k.module, k.NextEx, "AdkNextEx");
    Bind(k.module, k.PreviousEx, "AdkPreviousEx");
    Bind(k.module, k.FirstEx, "AdkFirstEx");
    Bind(k.module, k.LastEx, "AdkLastEx");
    Bind(k.module, k.Find2, "AdkFind2");
    Bind(k.module, k.DeleteRow, "AdkDeleteRow");
    Bind(k.module, k.GetErrorText, "AdkGetErrorText");
    Bind(k.module, k.SetSortOrder, "AdkSetSortOrder");
    Bind(k.module, k.SetFilter, "AdkSetFilter");
    Bind(k.module, k.GetFieldName, "AdkGetFieldName");
    Bind(k.module, k.GetAdmSize, "AdkGetAdmSize");
    Bind(k.module, k.GetAdmSizeEx, "AdkGetAdmSizeEx");
    Bind(k.module, k.GetVariant, "AdkGetVariant");
    Bind(k.module, k.GetVersion, "AdkGetVersion");
    Bind(k.module, k.GetTimestampField, "AdkGetTimestampField");
    Bind(k.module, k.GetVatpercentOnArticle, "AdkGetVatpercentOnArticle");
    Bind(k.module, k.GetCustomerPrice, "AdkGetCustomerPrice");
    Bind(k.module, k.GetSie, "AdkGetSie");
    Bind(k.module, k.GetBookingYearId, "AdkGetBookingYearId");
    Bind(k.module, k.HoldWrites, "AdkHoldWrites");
    Bind(k.module, k.Commit, "AdkCommit");
    Bind(k.module, k.Sync, "AdkSync");
    return k;
}
}  // namespace

const Kit& TheKit() {
    static const Kit kit = Load();
    return kit;
}

int RunAdkctl(const std::vector<std::string>& args, std::string* output) {
    TempDir dir;
    std::string out = dir / "out.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<std::string> all = {AdkctlPath()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot run adkctl");
    int status = 0;
    waitpid(pid, &status, 0);
    if (output) {
        std::ifstream in(out);
        std::stringstream ss;
        ss << in.rdbuf();
        *output = ss.str();
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tvkit-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

OpenCompany::OpenCompany(const std::vector<std::string>& seedFixtures) : folder_(dir_ / "company") {
    std::string output;
    if (RunAdkctl({"create", folder_}, &output) != 0) throw std::runtime_error("adkctl create: " + output);
    for (const auto& fixture : seedFixtures)
        if (RunAdkctl({"seed", folder_, fixture}, &output) != 0)
            throw std::runtime_error("adkctl seed: " + output);
    AdkErrorRec e = TheKit().Open("", folder_.c_str());
    if (e.lRc) throw std::runtime_error("AdkOpen: " + std::to_string(e.lRc));
}

OpenCompany::~OpenCompany() {
    TheKit().Close();
}

std::string GetStr(AdkHandle h, int field, int size, AdkErrorRec* error) {
    std::vector<char> buf(static_cast<size_t>(size) + 1, 'x');
    AdkErrorRec e = TheKit().GetStr(h, field, buf.data(), size);
    if (error) *error = e;
    return buf.data();
}

std::string QueryText(const std::string& database, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        throw std::runtime_error("cannot open " + database);
    }
    sqlite3_stmt* st = nullptr;
    std::string out;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
        std::string m = sqlite3_errmsg(db);
        sqlite3_close_v2(db);
        throw std::runtime_error(m + " in " + sql);
    }
    if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0))
        out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    sqlite3_close_v2(db);
    return out;
}

}  // namespace tv::kit_test
