#include "export/export_document.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tv
