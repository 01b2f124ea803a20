// The sample plug-ins through the module manager: each takes its branches and logs every call with
// its arguments, and the getter's settings panel keeps or forgets what the operator entered.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/ini/ini_file.h"
#include "platform/plugin/module_manager.h"
#include "plugin_test_support.h"

namespace tv {
namespace {

using plugin::aStringArray;
using plugin::Iquorvel_get;
using plugin::Iquorvel_onEvent;
using plugin::Iquorvel_plugin;
using plugin::Iquorvel_put;
using plugin::Iquorvel_transformer;
using Lines = std::vector<std::string>;

class SamplePluginTest : public ::testing::Test {
protected:
    TPluginRef<IHYVisualPlugin> Create(const char* name) {
        root.Install({name});
        manager.LoadModule(root.Module(name));
        TPluginRef<IHYVisualPlugin> instance;
        manager.CreateVisualPlugin(name, instance, nullptr);
        return instance;
    }
    // A settings folder holding the plug-in's INI file with these settings, written as the program
    // writes INI files.
    std::string Prefs(const char* plugin,
                      std::initializer_list<std::pair<const char*, std::string>> settings) {
        const std::string folder = root.dir.MakeFolder("prefs");
        TIniFile ini(folder + "/" + plugin + ".ini");
        for (const auto& [key, value] : settings) ini.WriteString("settings", key, value);
        ini.UpdateFile();
        return folder;
    }
    static Lines Items(const aStringArray& a) {
        Lines items;
        for (int32_t i = 0; i < a.Count(); ++i) items.push_back(a.Items(i));
        return items;
    }

    test::PluginRoot root;
    THYModuleManager manager;
};

TEST_F(SamplePluginTest, TheGetterMovesTheMatchingFilesIntoTheWorkFolder) {
    const std::string source = root.dir.MakeFolder("source");
    root.dir.Write("source/b.xml", "b");
    root.dir.Write("source/a.XML", "a");
    root.dir.Write("source/c.txt", "c");
    const std::string prefs = Prefs("plugin_get_folder", {{"SourceFolder", source}, {"Mask", "*.xml"}});
    const std::string work = root.dir.Path("plgtmp");

    const TPluginRef<IHYVisualPlugin> instance = Create("plugin_get_folder");
    const TPluginRef<Iquorvel_plugin> base = instance.As<Iquorvel_plugin>();
    const TPluginRef<Iquorvel_get> getter = instance.As<Iquorvel_get>();
    instance->Init();
    EXPECT_STREQ(base->getType(), "get");
    base->setLogFile("/logs/log.txt");
    instance->BeforeStep();
    base->SetPrefsFolder(prefs.c_str());
    base->setWorkFolder(work.c_str());

    aStringArray files;
    EXPECT_TRUE(getter->getFiles(files));
    EXPECT_EQ(Items(files), (Lines{work + "/a.XML", work + "/b.xml"}));
    EXPECT_EQ(root.dir.Read("plgtmp/a.XML"), "a");
    EXPECT_FALSE(root.dir.Exists("source/b.xml"));
    EXPECT_TRUE(root.dir.Exists("source/c.txt"));

    aStringArray none;
    EXPECT_FALSE(getter->getFiles(none)) << "nothing left to fetch: no list";
    EXPECT_EQ(none.Count(), 0);
    EXPECT_TRUE(base->TestModule());

    std::filesystem::remove_all(source);
    EXPECT_FALSE(base->TestModule());
    try {
        getter->getFiles(none);
        ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), "Källmappen finns inte: " + source);
    }

    EXPECT_EQ(
        root.Calls("plugin_get_folder"),
        (Lines{"Init", "getType", "setLogFile\t/logs/log.txt", "BeforeStep", "SetPrefsFolder\t" + prefs,
               "setWorkFolder\t" + work, "getFiles", "getFiles", "TestModule", "TestModule", "getFiles"}));
}

TEST_F(SamplePluginTest, TheGettersPanelKeepsWhatWasEnteredOnSaveAndForgetsItOnCancel) {
    const std::string prefs = root.dir.MakeFolder("rules/R/17");
    const TPluginRef<IHYVisualPlugin> instance = Create("plugin_get_folder");
    const TPluginRef<Iquorvel_plugin> base = instance.As<Iquorvel_plugin>();
    QWidget area;
    area.show();
    auto edit = [&](const char* field, const char* text) {
        QLineEdit* line = area.findChild<QLineEdit*>(field);
        EXPECT_NE(line, nullptr) << field;
        if (!line) return;
        line->selectAll();
        QTest::keyClicks(line, text);
    };
    auto stored = [&](const char* key) {
        return TIniFile(prefs + "/plugin_get_folder.ini").ReadString("settings", key, "(none)");
    };

    base->SetPrefsFolder(prefs.c_str());
    instance->ShowParented(&area);
    EXPECT_EQ(area.findChild<QLineEdit*>("Mask")->text(), "*");
    edit("SourceFolder", "/data/in");
    base->SaveSettings();
    EXPECT_EQ(stored("SourceFolder"), "/data/in");
    EXPECT_EQ(stored("Mask"), "*");

    instance->ShowParented(&area);
    EXPECT_EQ(area.findChildren<QLineEdit*>().size(), 2) << "the new panel replaces the old";
    EXPECT_EQ(area.findChild<QLineEdit*>("SourceFolder")->text(), "/data/in");
    edit("SourceFolder", "/elsewhere");
    base->CancelSettings();
    EXPECT_EQ(stored("SourceFolder"), "/data/in");
    instance->ShowParented(&area);
    EXPECT_EQ(area.findChild<QLineEdit*>("SourceFolder")->text(), "/data/in");

    EXPECT_EQ(root.Calls("plugin_get_folder"),
              (Lines{"SetPrefsFolder\t" + prefs, "ShowParented", "SaveSettings", "ShowParented",
                     "CancelSettings", "ShowParented"}));
}

TEST_F(SamplePluginTest, TheTransformerWritesCapitalsRefusesTheFailMarkerAndRaisesOnTheThrowMarker) {
    const TPluginRef<IHYVisualPlugin> instance = Create("plugin_xform_upper");
    const TPluginRef<Iquorvel_transformer> transformer = instance.As<Iquorvel_transformer>();
    struct Case {
        const char* content;
        enum { Done, Refused, Raised } outcome;
        const char* written;
    };
    const Case cases[] = {
        {"<a>Åsa b</a>", Case::Done, "<A>ÅSA B</A>"},
        {"x FAIL-TRANSFORM y", Case::Refused, ""},
        {"THROW-TRANSFORM", Case::Raised, ""},
    };
    const aStringArray options;
    Lines expected;
    for (const Case& c : cases) {
        const std::string source = root.dir.Write("in.xml", c.content);
        const std::string target = root.dir.Write("out.tmp", "");
        expected.push_back("Transformfile\t" + source + "\t" + target + "\t0");
        switch (c.outcome) {
            case Case::Done:
                EXPECT_TRUE(transformer->Transformfile(source.c_str(), target.c_str(), options));
                break;
            case Case::Refused:
                EXPECT_FALSE(transformer->Transformfile(source.c_str(), target.c_str(), options));
                break;
            case Case::Raised:
                EXPECT_THROW(transformer->Transformfile(source.c_str(), target.c_str(), options),
                             std::exception);
                break;
        }
        EXPECT_EQ(root.dir.Read("out.tmp"), c.written) << c.content;
    }
    EXPECT_EQ(root.Calls("plugin_xform_upper"), expected);
}

TEST_F(SamplePluginTest, ThePutterCopiesIntoItsTargetRejectsAndRaisesByPattern) {
    const std::string target = root.dir.Path("target");
    const std::string prefs = Prefs("plugin_put_folder", {{"TargetFolder", target}});
    const TPluginRef<IHYVisualPlugin> instance = Create("plugin_put_folder");
    instance.As<Iquorvel_plugin>()->SetPrefsFolder(prefs.c_str());
    const TPluginRef<Iquorvel_put> putter = instance.As<Iquorvel_put>();

    const std::string sent = root.dir.Write("skickas/order.xml", "o");
    const std::string rejected = root.dir.Write("skickas/order_REJECT.xml", "r");
    const std::string raising = root.dir.Write("skickas/throw.xml", "t");
    EXPECT_TRUE(putter->PutFile(sent.c_str()));
    EXPECT_FALSE(putter->PutFile(rejected.c_str()));
    EXPECT_THROW(putter->PutFile(raising.c_str()), std::exception);
    EXPECT_EQ(root.dir.Read("target/order.xml"), "o");
    EXPECT_FALSE(root.dir.Exists("target/order_REJECT.xml"));
    EXPECT_FALSE(root.dir.Exists("target/throw.xml"));
    EXPECT_TRUE(root.dir.Exists("skickas/order.xml")) << "the host moves what was delivered";
    EXPECT_EQ(root.Calls("plugin_put_folder"), (Lines{"SetPrefsFolder\t" + prefs, "PutFile\t" + sent,
                                                      "PutFile\t" + rejected, "PutFile\t" + raising}));
}

TEST_F(SamplePluginTest, TheEventPluginWritesItsParametersOrFailsWithItsFixedText) {
    const TPluginRef<IHYVisualPlugin> instance = Create("plugin_onevent_marker");
    const TPluginRef<Iquorvel_plugin> base = instance.As<Iquorvel_plugin>();
    const TPluginRef<Iquorvel_onEvent> event = instance.As<Iquorvel_onEvent>();
    const std::string work = root.dir.Path("plgtmp");
    base->setWorkFolder(work.c_str());
    base->clearParams();
    base->addParam("ADK_OOI_HEAD_DOCUMENT_NUMBER", "1042");
    base->addParam("key", "value");
    EXPECT_TRUE(event->execute());
    EXPECT_EQ(root.dir.Read("plgtmp/onevent.marker"), "ADK_OOI_HEAD_DOCUMENT_NUMBER=1042\nkey=value\n");

    const std::string prefs = Prefs("plugin_onevent_marker", {{"Fail", "1"}});
    base->SetPrefsFolder(prefs.c_str());
    EXPECT_FALSE(event->execute());
    EXPECT_STREQ(base->getLastError(), "Händelsen misslyckades");

    EXPECT_EQ(
        root.Calls("plugin_onevent_marker"),
        (Lines{"setWorkFolder\t" + work, "clearParams", "addParam\tADK_OOI_HEAD_DOCUMENT_NUMBER\t1042",
               "addParam\tkey\tvalue", "execute", "SetPrefsFolder\t" + prefs, "execute", "getLastError"}));
}

TEST_F(SamplePluginTest, TheMisfitsGiveAWrongCaseTypeAndAPutTypeWithoutThePutInterface) {
    const TPluginRef<IHYVisualPlugin> badType = Create("plugin_bad_type");
    EXPECT_STREQ(badType.As<Iquorvel_plugin>()->getType(), "GET");
    aStringArray files;
    EXPECT_FALSE(badType.As<Iquorvel_get>()->getFiles(files));

    const TPluginRef<IHYVisualPlugin> noPut = Create("plugin_put_nointerface");
    EXPECT_STREQ(noPut.As<Iquorvel_plugin>()->getType(), "put");
    EXPECT_THROW((void)noPut.As<Iquorvel_put>(), EIntfCastError);

    EXPECT_EQ(root.Calls("plugin_bad_type"), (Lines{"getType", "getFiles"}));
    EXPECT_EQ(root.Calls("plugin_put_nointerface"), (Lines{"getType"}));
}

}  // namespace
}  // namespace tv
