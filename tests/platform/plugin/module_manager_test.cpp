// The module manager over the dynamic loader: loading and refusing modules, creating plug-ins by name
// and answering their interfaces, releasing and unloading, and never unloading a module while
// anything of it lives.

#include "platform/plugin/module_manager.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/files.h"
#include "plugin_test_support.h"

namespace tv {
namespace {

using plugin::Iquorvel_get;
using plugin::Iquorvel_onEvent;
using plugin::Iquorvel_plugin;
using plugin::Iquorvel_put;
using plugin::Iquorvel_transformer;

// Whether the loader still has the file mapped.
bool Mapped(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
}

std::string Resolved(const std::string& path) {
    return std::filesystem::weakly_canonical(path).string();
}

class ModuleManagerTest : public ::testing::Test {
protected:
    ModuleManagerTest() {
        manager.OnAfterUnloadModule = [this](THYModuleManager& sender, const std::string& fileName) {
            EXPECT_EQ(&sender, &manager);
            unloaded.push_back(fileName);
            countsAfterUnload.push_back(sender.GetModuleCount());
        };
        manager.OnUnloadCleanup = [this](const std::string& fileName, const std::string& text) {
            cleanup.push_back(ExtractFileName(fileName) + ": " + text);
        };
    }

    TPluginRef<IHYVisualPlugin> Create(std::string_view name, QWidget* parent = nullptr) {
        TPluginRef<IHYVisualPlugin> instance;
        manager.CreateVisualPlugin(name, instance, parent);
        return instance;
    }

    test::PluginRoot root;
    THYModuleManager manager;
    std::vector<std::string> unloaded, cleanup;
    std::vector<int> countsAfterUnload;
};

struct InterfaceCase {
    const char* plugin;
    const char* type;
    bool get, put, transformer, onEvent;
};
constexpr InterfaceCase kInterfaces[] = {
    {"plugin_get_folder", "get", true, false, false, false},
    {"plugin_xform_upper", "xform", false, false, true, false},
    {"plugin_put_folder", "put", false, true, false, false},
    {"plugin_onevent_marker", "onEvent", false, false, false, true},
    {"plugin_bad_type", "GET", true, false, false, false},
    {"plugin_put_nointerface", "put", false, false, false, false},
};

// Whether the instance answers U, checked through the cast that raises and the query that does not.
template <class U>
bool Answers(const TPluginRef<IHYVisualPlugin>& instance) {
    const bool answers = static_cast<bool>(instance.TryAs<U>());
    if (!answers) {
        try {
            (void)instance.As<U>();
            ADD_FAILURE() << "no cast error";
        } catch (const EIntfCastError& e) {
            EXPECT_EQ(e.Message, "Interface not supported");
        }
    }
    return answers;
}

TEST_F(ModuleManagerTest, InstancesCreatedByNameAnswerTheInterfacesOfTheirType) {
    for (const InterfaceCase& c : kInterfaces) root.Install({c.plugin});
    for (const InterfaceCase& c : kInterfaces) manager.LoadModule(root.Module(c.plugin));
    EXPECT_EQ(manager.GetModuleCount(), 6);

    for (const InterfaceCase& c : kInterfaces) {
        SCOPED_TRACE(c.plugin);
        const TPluginRef<IHYVisualPlugin> instance = Create(c.plugin);
        ASSERT_TRUE(instance);
        EXPECT_STREQ(instance.As<Iquorvel_plugin>()->getType(), c.type);
        EXPECT_EQ(Answers<Iquorvel_get>(instance), c.get);
        EXPECT_EQ(Answers<Iquorvel_put>(instance), c.put);
        EXPECT_EQ(Answers<Iquorvel_transformer>(instance), c.transformer);
        EXPECT_EQ(Answers<Iquorvel_onEvent>(instance), c.onEvent);
        // One identity whichever interface it is asked through.
        EXPECT_EQ(instance.As<plugin::IInterface>().get(),
                  instance.As<Iquorvel_plugin>().As<plugin::IInterface>().get());
        EXPECT_EQ(instance.As<Iquorvel_plugin>().As<IHYVisualPlugin>().get(), instance.get());
    }

    // The query itself, as a plug-in answers it.
    const TPluginRef<IHYVisualPlugin> getter = Create("plugin_get_folder");
    void* found = reinterpret_cast<void*>(1);
    EXPECT_EQ(getter->QueryInterface(Iquorvel_put::IID, &found), plugin::E_NOINTERFACE);
    EXPECT_EQ(found, nullptr);
    ASSERT_EQ(getter->QueryInterface(Iquorvel_get::IID, &found), plugin::S_OK);
    EXPECT_TRUE(static_cast<Iquorvel_get*>(found)->testInterface());
    static_cast<Iquorvel_get*>(found)->Release();
}

TEST_F(ModuleManagerTest, PluginNamesMatchWithoutRegardToCaseAndUnknownOnesAreRefused) {
    root.Install({"plugin_xform_upper"});
    manager.LoadModule(root.Module("plugin_xform_upper"));
    EXPECT_STREQ(Create("PLUGIN_Xform_Upper").As<Iquorvel_plugin>()->getType(), "xform");

    TPluginRef<IHYVisualPlugin> instance = Create("plugin_xform_upper");
    try {
        manager.CreateVisualPlugin("plugin_nothing", instance, nullptr);
        ADD_FAILURE() << "created";
    } catch (const EModuleManagerError& e) {
        EXPECT_EQ(e.Message, "No loaded plug-in module has the plug-in plugin_nothing");
    }
    EXPECT_FALSE(instance) << "the previous instance is dropped first";
}

TEST_F(ModuleManagerTest, OfTwoModulesWithOneNameTheFirstLoadedMakesThePlugin) {
    root.Install({"plugin_get_folder"}, "a");
    root.Install({"plugin_get_folder"}, "b");
    manager.LoadModule(root.Module("plugin_get_folder", "a"));
    manager.LoadModule(root.Module("plugin_get_folder", "b"));
    manager.LoadModule(root.Folder("b") + "/../a/plugin_get_folder.so");  // loaded already
    EXPECT_EQ(manager.GetModuleCount(), 2);
    EXPECT_TRUE(manager.FindModule(root.Folder("a") + "/../b/plugin_get_folder.so"));
    EXPECT_FALSE(manager.FindModule(root.Module("plugin_put_folder")));

    Create("plugin_get_folder").As<Iquorvel_plugin>()->getType();
    EXPECT_EQ(root.Calls("plugin_get_folder", "a"), std::vector<std::string>{"getType"});
    EXPECT_TRUE(root.Calls("plugin_get_folder", "b").empty());
}

TEST_F(ModuleManagerTest, ReleasedInstancesAndUnloadedModulesEndAtNoneWithOneEventEach) {
    root.Install({"plugin_get_folder", "plugin_xform_upper"});
    const std::string get = root.Module("plugin_get_folder"), xform = root.Module("plugin_xform_upper");
    manager.LoadModule(get);
    manager.LoadModule(xform);
    ASSERT_TRUE(Mapped(get) && Mapped(xform));

    TPluginRef<IHYVisualPlugin> getter = Create("plugin_get_folder");
    const TPluginRef<Iquorvel_plugin> getterBase = getter.As<Iquorvel_plugin>();
    TPluginRef<IHYVisualPlugin> transformer = Create("plugin_xform_upper");

    manager.ReleaseInstance(getter);
    EXPECT_FALSE(getter);
    EXPECT_FALSE(getterBase) << "every reference to a released instance is empty";
    EXPECT_THROW(getterBase->getType(), EModuleManagerError);
    EXPECT_THROW((void)getterBase.As<Iquorvel_get>(), EModuleManagerError);
    transformer.reset();  // the last reference releases it too

    manager.UnloadModules();
    EXPECT_EQ(manager.GetModuleCount(), 0);
    EXPECT_EQ(unloaded, (std::vector<std::string>{Resolved(xform), Resolved(get)}))
        << "the last loaded first";
    EXPECT_EQ(countsAfterUnload, (std::vector<int>{1, 0}));
    EXPECT_TRUE(cleanup.empty());
    EXPECT_FALSE(Mapped(get) || Mapped(xform));

    manager.UnloadModules();
    EXPECT_EQ(unloaded.size(), 2u) << "nothing more to unload";
    manager.LoadModule(get);  // and it loads again
    EXPECT_STREQ(Create("plugin_get_folder").As<Iquorvel_plugin>()->getType(), "get");
}

TEST_F(ModuleManagerTest, FilesThatAreNoModulesOfThisApiAreRefusedWithTheReason) {
    root.Install({"plugin_test_other_api", "plugin_test_no_entry"});
    root.dir.Write("plugins/plugin_corrupt.so", std::string(256, 'x'));
    struct Case {
        std::string file;
        std::string message;
    };
    const std::string folder = Resolved(root.Folder()) + "/";
    const Case cases[] = {
        {"plugin_corrupt.so", "Could not load the plug-in module " + folder + "plugin_corrupt.so: "},
        {"plugin_missing.so", "Could not load the plug-in module " + folder + "plugin_missing.so: "},
        {"plugin_test_no_entry.so", folder + "plugin_test_no_entry.so is not a plug-in module: "},
        {"plugin_test_other_api.so", "The plug-in module " + folder +
                                         "plugin_test_other_api.so was built for plug-in API version 2; this "
                                         "program takes version 1"},
    };
    const char* loaderTexts[] = {"invalid ELF header", "No such file or directory",
                                 "undefined symbol: tollvane_plugin_module", ""};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const std::string path = root.Folder() + "/" + cases[i].file;
        try {
            manager.LoadModule(path);
            ADD_FAILURE() << cases[i].file << " loaded";
        } catch (const EModuleManagerError& e) {
            EXPECT_TRUE(e.Message.starts_with(cases[i].message)) << e.Message;
            EXPECT_NE(e.Message.find(loaderTexts[i]), std::string::npos) << e.Message;
        }
        EXPECT_FALSE(manager.FindModule(path));
        EXPECT_FALSE(Mapped(path)) << cases[i].file << " is closed again";
    }
    EXPECT_EQ(manager.GetModuleCount(), 0);
}

TEST_F(ModuleManagerTest, ModulesExportOnlyTheirEntryPoint) {
    root.Install({"plugin_get_folder"});
    void* handle = dlopen(root.Module("plugin_get_folder").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    EXPECT_NE(dlsym(handle, plugin::kPluginEntryPoint), nullptr);
    // The code it shares with other modules stays its own in each.
    EXPECT_EQ(dlsym(handle, "_ZN2tv7samples14MatchesPatternESt17basic_string_viewIcSt11char_traitsIcEES4_"),
              nullptr);
    dlclose(handle);
}

// The fault this guards against: a settings panel (code of the module) still in a host window, or an
// instance still referenced, when the module is unmapped; destroying or calling it then crashes.
TEST_F(ModuleManagerTest, UnloadingWhileAnInstanceAndItsPanelLiveReleasesThemFirst) {
    root.Install({"plugin_get_folder"});
    root.dir.Write("prefs/plugin_get_folder.ini", "[settings]\r\nSourceFolder=/some/where\r\n");
    const std::string path = root.Module("plugin_get_folder");
    manager.LoadModule(path);
    auto dialog = std::make_unique<QWidget>();
    dialog->resize(460, 375);
    dialog->show();

    const TPluginRef<IHYVisualPlugin> instance = Create("plugin_get_folder");
    const TPluginRef<Iquorvel_plugin> base = instance.As<Iquorvel_plugin>();
    base->SetPrefsFolder(root.dir.Path("prefs").c_str());
    instance->ShowParented(dialog.get());
    QLineEdit* source = dialog->findChild<QLineEdit*>("SourceFolder");
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->text(), "/some/where");
    QTest::keyClicks(source, "/in");

    manager.UnloadModules();
    EXPECT_EQ(cleanup,
              std::vector<std::string>{
                  "plugin_get_folder.so: 1 plug-in instance(s) still in use released before unloading"});
    EXPECT_EQ(unloaded.size(), 1u);
    EXPECT_EQ(dialog->findChild<QLineEdit*>(), nullptr) << "the panel went with its instance";
    EXPECT_FALSE(instance);
    EXPECT_FALSE(base);
    EXPECT_THROW(base->getType(), EModuleManagerError);
    EXPECT_FALSE(Mapped(path));

    dialog->repaint();
    QCoreApplication::processEvents();
    dialog.reset();
}

TEST_F(ModuleManagerTest, APanelWhoseWindowWentFirstIsNotDeletedTwice) {
    root.Install({"plugin_get_folder"});
    manager.LoadModule(root.Module("plugin_get_folder"));
    auto dialog = std::make_unique<QWidget>();
    TPluginRef<IHYVisualPlugin> instance = Create("plugin_get_folder");
    instance->ShowParented(dialog.get());
    ASSERT_NE(dialog->findChild<QLineEdit*>("Mask"), nullptr);
    dialog.reset();  // the dialog deletes the panel with it
    manager.ReleaseInstance(instance);
    manager.UnloadModules();
    EXPECT_TRUE(cleanup.empty());
}

TEST_F(ModuleManagerTest, WidgetsAPluginLeftBehindAreDeletedBeforeItsModuleGoes) {
    root.Install({"plugin_test_stray"});
    const std::string path = root.Module("plugin_test_stray");
    manager.LoadModule(path);
    auto dialog = std::make_unique<QWidget>();
    dialog->show();

    TPluginRef<IHYVisualPlugin> instance = Create("plugin_test_stray");
    instance->ShowParented(dialog.get());
    manager.ReleaseInstance(instance);
    ASSERT_NE(dialog->findChild<QWidget*>("StrayPanel"), nullptr) << "forgotten by its instance";

    manager.UnloadModules();
    EXPECT_EQ(cleanup, std::vector<std::string>{
                           "plugin_test_stray.so: 1 window(s) of the plug-in deleted before unloading"});
    EXPECT_EQ(dialog->findChild<QWidget*>("StrayPanel"), nullptr);
    EXPECT_FALSE(Mapped(path));
    dialog.reset();
}

TEST_F(ModuleManagerTest, AModuleWhoseInstanceOutlivesTheReleaseStaysInMemory) {
    root.Install({"plugin_test_stray"});
    const std::string path = root.Module("plugin_test_stray");
    manager.LoadModule(path);
    auto dialog = std::make_unique<QWidget>();
    const TPluginRef<IHYVisualPlugin> instance = Create("plugin_test_stray_held");
    instance->ShowParented(dialog.get());  // its panel holds the instance

    manager.UnloadModules();
    EXPECT_EQ(cleanup,
              (std::vector<std::string>{
                  "plugin_test_stray.so: 1 plug-in instance(s) still in use released before unloading",
                  "plugin_test_stray.so: 1 window(s) of the plug-in deleted before unloading",
                  "plugin_test_stray.so: A plug-in instance is still referenced from inside the plug-in: "
                  "the module stays in memory"}));
    EXPECT_EQ(manager.GetModuleCount(), 0);
    EXPECT_EQ(unloaded.size(), 1u);
    EXPECT_TRUE(Mapped(path));
    dialog.reset();
}

TEST(ModuleManager, InstancesOutlivingTheManagerAreEmpty) {
    test::PluginRoot root;
    root.Install({"plugin_get_folder"});
    TPluginRef<IHYVisualPlugin> survivor;
    TPluginRef<Iquorvel_plugin> base;
    {
        THYModuleManager manager;
        manager.LoadModule(root.Module("plugin_get_folder"));
        manager.CreateVisualPlugin("plugin_get_folder", survivor, nullptr);
        base = survivor.As<Iquorvel_plugin>();
    }
    EXPECT_FALSE(survivor);
    EXPECT_FALSE(base);
    EXPECT_FALSE(Mapped(root.Module("plugin_get_folder")));
}

}  // namespace
}  // namespace tv
