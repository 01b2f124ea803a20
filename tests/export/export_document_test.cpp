#include "export/export_document.h"

#include <gtest/gtest.h>

#include "platform/rtl/files.h"
#include "tests/export/export_test_support.h"
#include "tests/support/temp_dir.h"

namespace tv {
namespace {

TEST(ExportDocument, SkeletonsAreWrittenByteForByte) {
    TXMLDocument xml;
    TExportDocument doc(xml);
    doc.Activate();
    doc.createDefaultNodes();
    EXPECT_EQ(xml.SaveToBytes(), test::FixtureBytes("empty_skeleton.xml"));
    doc.createCustomXmlDocument();
    EXPECT_EQ(xml.SaveToBytes(), test::FixtureBytes("sql_skeleton.xml"));
}

TEST(ExportDocument, ContainerReferencesFollowTheSkeleton) {
    TXMLDocument xml;
    TExportDocument doc(xml);
    doc.Activate();
    doc.createDefaultNodes();
    EXPECT_EQ(doc.NodeCustomers->NodeName(), "customers");
    EXPECT_EQ(doc.NodeContacts->NodeName(), "contacts");
    EXPECT_EQ(&doc.Container(ecParcels), doc.NodeParcelArticles);
    EXPECT_EQ(doc.NodeCustom, nullptr);
    // The SQL skeleton leaves none of the sixteen behind: their nodes are gone.
    doc.createCustomXmlDocument();
    EXPECT_EQ(doc.NodeCustom->NodeName(), "custom");
    EXPECT_EQ(doc.NodeContacts, nullptr);
    EXPECT_EQ(doc.NodeAccounting, nullptr);
    EXPECT_THROW(doc.Container(ecCustomers), EXMLDocError);
    doc.Deactivate();
    EXPECT_FALSE(xml.Active());
    EXPECT_EQ(doc.NodeCustom, nullptr);
}

TEST(ExportDocument, EachPerRecordFileHoldsOneSkeleton) {
    TXMLDocument xml;
    TExportDocument doc(xml);
    doc.Activate();
    doc.createDefaultNodes();
    for (const char* key : {"1", "2"}) {
        doc.ClearRoot();
        doc.createDefaultNodes();
        doc.NodeCustomers->AddChild("atKunder")->SetAttribute("key", key);
        EXPECT_EQ(xml.DocumentElement()->ChildCount(), kContainerNames.size());
        EXPECT_EQ(doc.NodeCustomers->ChildCount(), 1u);
    }
}

TEST(ExportDocument, SaveMakesTheFoldersAndTheFile) {
    test::TempDir dir;
    TXMLDocument xml;
    TExportDocument doc(xml);
    doc.Activate();
    doc.createDefaultNodes();
    doc.Save(dir.Path("export/obehandlade/kunder.xml"));
    EXPECT_EQ(dir.Read("export/obehandlade/kunder.xml"), test::FixtureBytes("empty_skeleton.xml"));
    // The folder path itself, as an empty template yields, cannot be saved to.
    EXPECT_ANY_THROW(doc.Save(dir.Path("export/obehandlade/")));
}

TEST(ExportDocument, GroupedFilesArePutInPlaceTogetherAndDroppedWithoutSaveFiles) {
    test::TempDir dir;
    TXMLDocument xml;
    TExportDocument doc(xml);
    doc.Activate();
    doc.GroupFiles();
    doc.createDefaultNodes();
    doc.Save(dir.Path("export/obehandlade/a.xml"));
    doc.Save(dir.Path("export/obehandlade/b.xml"));
    EXPECT_FALSE(dir.Exists("export/obehandlade/a.xml")) << "put in place with the others";
    doc.SaveFiles();
    EXPECT_EQ(dir.Read("export/obehandlade/a.xml"), test::FixtureBytes("empty_skeleton.xml"));
    EXPECT_EQ(dir.Read("export/obehandlade/b.xml"), test::FixtureBytes("empty_skeleton.xml"));
    doc.Save(dir.Path("export/obehandlade/c.xml"));
    doc.Deactivate();
    EXPECT_FALSE(dir.Exists("export/obehandlade/c.xml"));
    EXPECT_EQ(ListFolder(dir.Path("export/obehandlade"), "*", TListKind::All).size(), 2u) << "nothing left beside";
}

}  // namespace
}  // namespace tv
