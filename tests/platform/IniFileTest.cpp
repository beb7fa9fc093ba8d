// Private-profile behaviour of ini files, on real files in a temporary folder.
#include "platform/IniFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using platform::IniFile;

TEST(IniFile, NamesIgnoreCaseAndTheFirstMatchWins) {
    IniFile ini;
    ini.Parse("[Option]\r\nAutoScan=1\r\nautoscan=2\r\n[OPTION]\r\nCaseSensitivity=1\r\n");
    EXPECT_EQ(ini.ReadInteger("option", "AUTOSCAN", 0), 1);
    // The second section of the same name is never reached.
    EXPECT_EQ(ini.ReadInteger("Option", "CaseSensitivity", 7), 7);
    EXPECT_EQ(ini.ReadString("Option", "Missing", "0"), "0");
    EXPECT_EQ(ini.ReadString("Nowhere", "AutoScan", "dflt"), "dflt");
}

TEST(IniFile, ValuesAreTrimmedAndLoseOnePairOfQuotes) {
    IniFile ini;
    ini.Parse("[S]\n  Name1 =  PTV 70  \nName2=\"  spaced  \"\nName3=\n; comment=1\n");
    EXPECT_EQ(ini.ReadString("S", "Name1", "0"), "PTV 70");
    EXPECT_EQ(ini.ReadString("S", "Name2", "0"), "  spaced  ");
    EXPECT_EQ(ini.ReadString("S", "Name3", "0"), "");  // present but empty is not missing
    EXPECT_FALSE(ini.ValueExists("S", "; comment"));
}

TEST(IniFile, NumbersReadWithDefaultsForJunk) {
    IniFile ini;
    ini.Parse("[N]\na=42\nb=-7\nc=0x1F\nd=$FF\ne=12abc\nf=\ng=2.5\nh= 1e-3 \ni=abc\nj=1,5\n");
    EXPECT_EQ(ini.ReadInteger("N", "a", 0), 42);
    EXPECT_EQ(ini.ReadInteger("N", "b", 0), -7);
    EXPECT_EQ(ini.ReadInteger("N", "c", 0), 31);
    EXPECT_EQ(ini.ReadInteger("N", "d", 0), 255);
    EXPECT_EQ(ini.ReadInteger("N", "e", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "f", 5), 5);
    EXPECT_EQ(ini.ReadInteger("N", "g", 5), 5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "g", 0), 2.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "h", 0), 0.001);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "i", 9), 9);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "j", 9), 9);  // "." is the only decimal separator
    EXPECT_DOUBLE_EQ(ini.ReadFloat("N", "f", 3), 3);
    // Booleans are integers: anything but 0 is true, junk gives the default.
    EXPECT_TRUE(ini.ReadBool("N", "b", false));
    EXPECT_FALSE(ini.ReadBool("N", "i", false));
}

TEST(IniFile, FloatsAreWrittenWithFifteenSignificantDigits) {
    EXPECT_EQ(platform::FormatIniFloat(0.1f), "0.100000001490116");
    EXPECT_EQ(platform::FormatIniFloat(95.0f), "95");
    EXPECT_EQ(platform::FormatIniFloat(-2.5f), "-2.5");
    EXPECT_EQ(platform::FormatIniFloat(0.0), "0");
    EXPECT_EQ(platform::FormatIniFloat(-0.0), "0");
    EXPECT_EQ(platform::FormatIniFloat(1e-5), "1E-5");
    EXPECT_EQ(platform::FormatIniFloat(1e20), "1E20");
    // Written and read back, a 32-bit value survives exactly.
    for (float v : {0.1f, 70.2f, -1.25e-3f, 3.3333333f, 123456.7f}) {
        IniFile ini;
        ini.WriteFloat("F", "v", v);
        EXPECT_EQ(static_cast<float>(ini.ReadFloat("F", "v", 0)), v);
    }
}

TEST(IniFile, WritingReplacesAppendsToItsSectionOrAddsASectionAtTheEnd) {
    IniFile ini;
    ini.Parse("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    ini.WriteInteger("a", "X", 5);   // replaces, keeping the stored key name
    ini.WriteString("A", "z", "new");  // appended to A, before the blank line
    ini.WriteBool("C", "on", true);   // a new section at the end
    EXPECT_EQ(ini.Text(), "[A]\r\nx=5\r\nz=new\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\non=1\r\n");
}

TEST(IniFile, EraseSectionRemovesItsKeysOnly) {
    IniFile ini;
    ini.Parse("[Keep]\na=1\n[PlanList]\nCount=2\nListName1=x\n[keep2]\nb=2\n");
    ini.EraseSection("planlist");
    EXPECT_FALSE(ini.SectionExists("PlanList"));
    EXPECT_EQ(ini.ReadString("Keep", "a", ""), "1");
    EXPECT_EQ(ini.ReadString("keep2", "b", ""), "2");
    EXPECT_EQ(ini.Text(), "[Keep]\na=1\n[keep2]\nb=2\n");  // LF files stay LF
    ini.EraseSection("NotThere");  // harmless
    EXPECT_EQ(ini.ReadSections().size(), 2u);
}

TEST(IniFile, ANameWithALineBreakIsKeptAsTheSavedFileReadsIt) {
    IniFile ini;
    ini.Parse("[Keep]\na=1\n");
    ini.WriteString("Set\n", "k\r\n", "v");
    ini.WriteString("Set\n", "k\r\n", "w");  // the same section and key, not a second of each
    EXPECT_EQ(ini.Text(), "[Keep]\na=1\n\n[Set]\nk=w\n");
    ini.EraseSections({"Keep"});  // the pass over every section head finds this one's too
    EXPECT_EQ(ini.Text(), "[Set]\nk=w\n");
    ini.EraseSection("Set\n");
    EXPECT_EQ(ini.Text(), "");
}

TEST(IniFile, LookupsFollowEveryKindOfWrite) {
    IniFile ini;
    ini.Parse("[A]\nx=1\n\n[B]\ny=2\n[a]\nz=9\n");
    ini.WriteString("A", "k", "3");  // inserted before later sections, which move down
    EXPECT_EQ(ini.ReadString("b", "Y", ""), "2");
    EXPECT_EQ(ini.ReadString("A", "k", ""), "3");
    EXPECT_EQ(ini.ReadString("A", "z", "-"), "-");  // the second [A] stays unreached
    ini.WriteString("New", "p", "4");  // a section and keys appended at the end
    ini.WriteString("New", "q", "5");
    ini.DeleteKey("B", "y");
    ini.EraseSections({"a"});  // both sections of that name
    EXPECT_EQ(ini.ReadString("B", "y", "-"), "-");
    EXPECT_EQ(ini.ReadString("New", "q", ""), "5");
    EXPECT_FALSE(ini.SectionExists("A"));
    ini.WriteString("A", "x", "6");
    EXPECT_EQ(ini.Text(), "[B]\n[New]\np=4\nq=5\n\n[A]\nx=6\n");
}

TEST(IniFile, LoadTellsMissingFromUnreadableAndSaveRoundTrips) {
    TempFolder dir;
    IniFile missing(dir.File("none.ini"));
    EXPECT_EQ(missing.Load(), IniFile::LoadStatus::Missing);

    const std::string path = dir.Write("a.ini", "[S]\r\nk=v\r\n");
    IniFile ini(path);
    ASSERT_EQ(ini.Load(), IniFile::LoadStatus::Ok);
    ini.WriteString("S", "k2", "w");
    ASSERT_TRUE(ini.Save().ok);
    EXPECT_EQ(dir.Read("a.ini"), "[S]\r\nk=v\r\nk2=w\r\n");

    if (geteuid() != 0) {  // root reads everything
        chmod(path.c_str(), 0);
        IniFile locked(path);
        EXPECT_EQ(locked.Load(), IniFile::LoadStatus::Unreadable);
        chmod(path.c_str(), 0644);
    }
    // A folder is not a readable ini file either.
    IniFile folder(dir.Path() + ".");
    EXPECT_EQ(folder.Load(), IniFile::LoadStatus::Unreadable);
}

TEST(IniFile, AByteOrderMarkDoesNotHideTheFirstSection) {
    // An editor may put a UTF-8 byte order mark before the first section of a hand-edited list;
    // its keys must still be found, and a save must write that section once, not twice.
    IniFile ini;
    ini.Parse("\xEF\xBB\xBF[ListIndex]\r\nCount=2\r\nName1=PTV\r\n");
    EXPECT_EQ(ini.ReadInteger("ListIndex", "Count", 0), 2);
    EXPECT_EQ(ini.ReadString("ListIndex", "Name1", "0"), "PTV");
    ini.EraseSection("ListIndex");
    ini.WriteInteger("ListIndex", "Count", 1);
    EXPECT_EQ(ini.Text(), "[ListIndex]\r\nCount=1\r\n");

    // Only the first mark is the file's: a second is text of the first line, and a save keeps it
    // there, as it keeps the mark that a key's name begins with after a blank.
    IniFile twice;
    twice.Parse("\xEF\xBB\xBF\xEF\xBB\xBF[S]\nk=v");
    IniFile blank;
    blank.Parse(" \xEF\xBB\xBFk=v\n[S]\nk=w\n");
    for (const IniFile* saved : {&twice, &blank}) {
        IniFile back;
        back.Parse(saved->Text());
        EXPECT_EQ(back.Text(), saved->Text());
        EXPECT_EQ(back.ReadString("S", "k", "none"), saved->ReadString("S", "k", "none"));
    }
}

TEST(IniFile, LinesEndedByCarriageReturnsAloneKeepEverySection) {
    // Read as one line, such a file would show no keys and lose all but its first section
    // header at the next save.
    IniFile ini;
    ini.Parse("[StructureDB]\rCount=1\rName1=PTV\r[ListIndex]\rCount=1\rName1=Rectum\r");
    EXPECT_EQ(ini.ReadString("StructureDB", "Name1", "0"), "PTV");
    EXPECT_EQ(ini.ReadString("ListIndex", "Name1", "0"), "Rectum");
    ini.WriteString("ListIndex", "Lock", "1");
    EXPECT_EQ(ini.Text(),
              "[StructureDB]\rCount=1\rName1=PTV\r[ListIndex]\rCount=1\rName1=Rectum\rLock=1\r");
}
