// The company database connection strings: every edge case as an exact string.

#include "adk/connection_strings.h"

#include "platform/db/connection_string.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

struct SetCase {
    const char* name;
    std::string_view input;
    const char* key;
    const char* value;
    const char* expected;
};

const SetCase kSetCases[] = {
    {"a key in other letter case is found; the value goes before the next ';'", kSqlServerPasswordTemplate,
     "user id", "sa",
     "Provider=SQLOLEDB.1;Password=;Persist Security Info=False;User ID=sa;Initial Catalog=;Data Source="},
    {"the folder goes between 'Data Source=' and ';Password='", kVfpConnectionTemplate, "Data Source",
     "C:\\Foretag\\Demo",
     "Provider=VFPOLEDB.1;Data Source=C:\\Foretag\\Demo;Password=\"\";Collating "
     "Sequence=SWEFIN;VARCHARMAPPING=True"},
    {"a key that is not in the string changes nothing", kVfpConnectionTemplate, "User ID", "sa",
     "Provider=VFPOLEDB.1;Data Source=;Password=\"\";Collating Sequence=SWEFIN;VARCHARMAPPING=True"},
    {"'Source' also finds the end of 'Data Source='", kSqlServerWindowsTemplate, "Source", "srv",
     "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial Catalog=;Data "
     "Source=srv"},
    {"an old value is replaced whole", "Provider=SQLOLEDB.1;User ID=old;Initial Catalog=x", "User ID", "new",
     "Provider=SQLOLEDB.1;User ID=new;Initial Catalog=x"},
    {"the quoted empty password of the VFP template is replaced whole", kVfpConnectionTemplate, "Password",
     "pw", "Provider=VFPOLEDB.1;Data Source=;Password=pw;Collating Sequence=SWEFIN;VARCHARMAPPING=True"},
    // Mend: a value holding ';' or a quote is quoted, so it stays one value.
    {"a value holding ';' is quoted", kSqlServerPasswordTemplate, "Password", "a;b",
     "Provider=SQLOLEDB.1;Password=\"a;b\";Persist Security Info=False;User ID=;Initial Catalog=;Data "
     "Source="},
    {"a double quote inside is doubled", "Password=;User ID=", "Password", "a\"b",
     "Password=\"a\"\"b\";User ID="},
    {"a later replacement replaces the quoted value whole", "Password=\"a;b\";User ID=", "Password", "c",
     "Password=c;User ID="},
    {"a key written inside a quoted value is not a key", "Password=\"x;User ID=evil\";User ID=", "User ID",
     "sa", "Password=\"x;User ID=evil\";User ID=sa"},
};

TEST(ConnectionStrings, SetConnectionStringValueEdgeCases) {
    for (const auto& c : kSetCases)
        EXPECT_EQ(SetConnectionStringValue(c.input, c.key, c.value), c.expected) << c.name;
}

TEST(ConnectionStrings, AQuotedPasswordParsesAsOneValue) {
    const std::string s =
        SetConnectionStringValue(kSqlServerPasswordTemplate, "Password", "x;User ID=evil\"");
    const TConnectionString parsed(SetConnectionStringValue(s, "User ID", "sa"));
    EXPECT_EQ(parsed.Value("password"), "x;User ID=evil\"");
    EXPECT_EQ(parsed.Value("User ID"), "sa");
}

TEST(ConnectionStrings, SqlServerStrings) {
    EXPECT_EQ(MakeSQLServerConnectionString("", "(local)\\SQL2019", "F01", true, "pw", "kalle"),
              "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial Catalog=F01;"
              "Data Source=(local)\\SQL2019");
    EXPECT_EQ(
        MakeSQLServerConnectionString("", "srv", "F01", false, "pw", "F01_kalle"),
        "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=False;User ID=F01_kalle;Initial Catalog=F01;"
        "Data Source=srv");
    EXPECT_EQ(MakeSQLServerConnectionString("Data Source=a;Initial Catalog=b;User ID=c;Password=d", "srv",
                                            "db", false, "pw", "u"),
              "Data Source=srv;Initial Catalog=db;User ID=u;Password=pw")
        << "a string given is edited the same way";
}

TEST(ConnectionStrings, CompanyStringsByMode) {
    EXPECT_EQ(MakeCompanyConnectionString("", "/srv/foretag/demo", 0),
              "Provider=VFPOLEDB.1;Data Source=/srv/foretag/demo;Password=\"\";Collating Sequence=SWEFIN;"
              "VARCHARMAPPING=True");
    EXPECT_EQ(
        MakeCompanyConnectionString("", "/srv/foretag/demo", 1),
        "Provider=MSDASQL.1;Persist Security Info=False;Extended Properties=\"DSN=Visual FoxPro Tables;UID=;"
        "SourceDB=/srv/foretag/demo;SourceType=DBF;Exclusive=No;BackgroundFetch=Yes;Collate=SWEFIN;Null=Yes;"
        "Deleted=Yes;VARCHARMAPPING=True;\"");
    EXPECT_EQ(MakeCompanyConnectionString("Provider=MSDASQL.1;SourceDB=;DSN=x", "/f", 1),
              "Provider=MSDASQL.1;SourceDB=/f;DSN=x");
    EXPECT_EQ(MakeCompanyConnectionString("", "/f", 7), "") << "an unknown mode has no template";
    EXPECT_EQ(MakeCompanyConnectionString("Data Source=x", "/f", 7), "Data Source=x");

    test::TempDir company;
    company.Write("Ftg.ini",
                  "[Company]\r\nExclusive=0\r\n[DataSource]\r\nDBInstance=(local)\\SQL2019\r\n"
                  "DBName=F01\r\nUser=sa\r\nPassword=secret\r\n");
    EXPECT_EQ(MakeCompanyConnectionString("", company.Path(""), 2),
              "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;Initial Catalog=F01;"
              "Data Source=(local)\\SQL2019");
    test::TempDir empty;
    EXPECT_EQ(MakeCompanyConnectionString("", empty.Path(""), 2), kSqlServerWindowsTemplate)
        << "no Ftg.ini: nothing to fill in";
}

TEST(ConnectionStrings, PasswordsAreMaskedForTheLog) {
    EXPECT_EQ(MaskConnectionStringPasswords("Provider=SQLOLEDB.1;Password=secret;User ID=sa;Data Source=s"),
              "Provider=SQLOLEDB.1;Password=***;User ID=sa;Data Source=s");
    EXPECT_EQ(MaskConnectionStringPasswords("Password=\"a;b\";pwd=x"), "Password=***;pwd=***");
    EXPECT_EQ(MaskConnectionStringPasswords("Provider=MSDASQL.1;Extended Properties=\"DSN=x;PWD=secret;\""),
              "Provider=MSDASQL.1;Extended Properties=\"DSN=x;PWD=***;\"");
    EXPECT_EQ(MaskConnectionStringPasswords(kVfpConnectionTemplate),
              "Provider=VFPOLEDB.1;Data Source=;Password=***;Collating Sequence=SWEFIN;VARCHARMAPPING=True");
}

}  // namespace
}  // namespace tv
