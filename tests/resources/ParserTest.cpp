#include "resources/Parser.h"
#include "base/Common.h"
#include "platform/FatalError.h"
#include "resources/PakFile.h"
#include "resources/PakInterface.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// Records every call as one line: "start a(k=v)", "text ...", "end a".
class RecordingParser : public Parser
{
public:
    std::vector<std::wstring> m_calls;

protected:
    void HandleElementStart(const std::wstring& name) override
    {
        std::wstring call = L"start " + GetElement().m_section + L":" + name + L"(";
        for (const auto& [key, value] : GetElement().m_attributes) {
            call += key + L"=" + value + L";";
        }
        m_calls.push_back(call + L")");
    }
    void HandleElementEnd(const std::wstring& name) override { m_calls.push_back(L"end " + name); }
    void HandleText(const std::wstring& text) override
    {
        m_calls.push_back(L"text " + GetElement().m_name + L":" + text);
    }
};

// Reads the attributes of the "item" element, in the order the checks below expect.
class AttributeParser : public Parser
{
public:
    std::vector<int> m_read;

protected:
    void HandleElementStart(const std::wstring& name) override
    {
        if (name == L"item") {
            m_read = {GetAttribute(L"missing").empty(), HasAttribute(L"name"), HasAttribute(L"missing")};
            for (const wchar_t* key : {L"t", L"one", L"yes", L"zero", L"missing"}) {
                m_read.push_back(GetAttributeBool(key));
            }
            for (const wchar_t* key : {L"hex", L"neg", L"missing"}) {
                m_read.push_back(GetAttributeInt(key));
            }
            m_read.push_back(GetAttributeIntDefault(L"missing", 42));
            m_read.push_back(GetAttributeIntDefault(L"word", 42));
        }
    }
};

std::string Utf16Bytes(const std::wstring& text, bool bigEndian)
{
    std::string bytes = WStringToUtf16LE(text);
    if (bigEndian) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            std::swap(bytes[i], bytes[i + 1]);
        }
    }
    return (bigEndian ? std::string("\xFE\xFF", 2) : std::string("\xFF\xFE", 2)) + bytes;
}

class ParserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/tarnvale-parser-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_folder = pattern;
        m_pak.AddSearchRoot(m_folder);
        SetPakInterface(&m_pak);
        m_previousHandler =
            SetFatalErrorHandler([this](const std::string& message) { m_fatal.push_back(message); });
    }
    void TearDown() override
    {
        SetFatalErrorHandler(m_previousHandler);
        SetPakInterface(nullptr);
        std::filesystem::remove_all(m_folder);
    }
    void Write(const std::string& name, const std::string& bytes)
    {
        std::filesystem::create_directories(std::filesystem::path(m_folder + "/" + name).parent_path());
        std::ofstream(m_folder + "/" + name, std::ios::binary) << bytes;
    }

    std::string m_folder;
    PakInterface m_pak;
    FatalErrorHandler m_previousHandler;
    std::vector<std::string> m_fatal;
};

const wchar_t* kDocument = L"<?xml version=\"1.0\"?>\n"
                           L"<root a=\"1\">\n"
                           L"  <item name=\"caf\u00e9\" b=\"2\" a=\"\u20ac\"/>\n"
                           L"  <note>Hello &amp; welcome\nback</note>\n"
                           L"</root>\n";

const std::vector<std::wstring> kExpectedCalls = {
    L"start :root(a=1;)",
    L"start root:item(a=\u20ac;b=2;name=caf\u00e9;)",
    L"end item",
    L"start root:note()",
    L"text note:Hello & welcome\nback",
    L"end note",
    L"end root",
};

TEST_F(ParserTest, Utf8AndUtf16WithByteOrderMarksGiveTheSameCalls)
{
    const std::string utf8 = WStringToString(kDocument);
    Write("utf8.xml", utf8);
    Write("utf8bom.xml", "\xEF\xBB\xBF" + utf8);
    Write("le.xml", Utf16Bytes(kDocument, false));
    Write("be.xml", Utf16Bytes(kDocument, true));
    // settings.xml is written without a declaration.
    Write("le-bare.xml", Utf16Bytes(L"<settings music=\"0.5\"/>", false));

    for (const char* name : {"utf8.xml", "utf8bom.xml", "le.xml", "be.xml"}) {
        RecordingParser parser;
        EXPECT_TRUE(parser.ParseFile(name)) << name;
        EXPECT_EQ(parser.m_calls, kExpectedCalls) << name;
    }
    RecordingParser bare;
    EXPECT_TRUE(bare.ParseFile("le-bare.xml"));
    EXPECT_EQ(bare.m_calls, (std::vector<std::wstring>{L"start :settings(music=0.5;)", L"end settings"}));
    EXPECT_TRUE(m_fatal.empty());
}

// UTF-16 with a surrogate that has no partner: "Al", a lone high surrogate, "ice" read as "Al" U+10069
// "ce", the next character swallowed. Each unpaired surrogate (high or low, in a name, a value or a text,
// in either byte order, with or without a byte-order mark) reads as U+FFFD and nothing after it is lost;
// pairs still read as one character.
TEST_F(ParserTest, AnUnpairedSurrogateInUtf16ReadsAsAReplacementAndTheNextCharacterStays)
{
    auto bytesOf = [](const std::u16string& text, bool bigEndian, bool mark) {
        std::string bytes = mark ? (bigEndian ? std::string("\xFE\xFF") : std::string("\xFF\xFE")) : "";
        for (char16_t unit : text) {
            const char high = static_cast<char>(unit >> 8);
            const char low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    };
    auto unit = [](char16_t code) { return std::u16string(1, code); };
    const std::u16string document = u"<p name=\"Al" + unit(0xD800) + u"ice\" v=\"" + unit(0xDC00) + u"x" +
                                    unit(0xD83D) + unit(0xDE00) + unit(0xDBFF) + u"\">e" + unit(0xDFFF) +
                                    unit(0xD800) + u"nd</p>";
    const std::vector<std::wstring> expected = {L"start :p(name=Al\uFFFDice;v=\uFFFDx\U0001F600\uFFFD;)",
                                                L"text p:e\uFFFD\uFFFDnd", L"end p"};
    for (bool bigEndian : {false, true}) {
        for (bool mark : {true, false}) {
            Write("lone.xml", bytesOf(document, bigEndian, mark));
            RecordingParser parser;
            EXPECT_TRUE(parser.ParseFile("lone.xml")) << bigEndian << mark;
            EXPECT_EQ(parser.m_calls, expected) << bigEndian << mark;
        }
    }
    // A declaration of UTF-16 still reads; a lone surrogate after the root is still text after the root.
    const std::u16string declared = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><q/>";
    Write("declared.xml", bytesOf(declared, false, true));
    RecordingParser declaration;
    EXPECT_TRUE(declaration.ParseFile("declared.xml"));
    EXPECT_EQ(declaration.m_calls, (std::vector<std::wstring>{L"start :q()", L"end q"}));
    EXPECT_TRUE(m_fatal.empty());
    Write("after.xml", bytesOf(declared + unit(0xD800), false, true));
    RecordingParser trailing;
    EXPECT_FALSE(trailing.ParseFile("after.xml"));
    ASSERT_EQ(m_fatal.size(), 1u);
    EXPECT_NE(m_fatal[0].find("in File 'after.xml'"), std::string::npos) << m_fatal[0];
}

TEST_F(ParserTest, ATextRunArrivesOnceWhole)
{
    // Entities, character references, CDATA and a run far beyond expat's buffers all split the
    // character data inside expat.
    std::string longText(3 << 20, 'x');
    Write("runs.xml",
          "<r><a>one &lt;two&gt; &#x41;<![CDATA[ <three> ]]>\nfour</a><b>" + longText + "</b></r>");
    RecordingParser parser;
    ASSERT_TRUE(parser.ParseFile("runs.xml"));
    ASSERT_EQ(parser.m_calls.size(), 8u);
    EXPECT_EQ(parser.m_calls[2], L"text a:one <two> A <three> \nfour");
    EXPECT_EQ(parser.m_calls[5].size(), std::wstring(L"text b:").size() + longText.size());
}

TEST_F(ParserTest, TextBetweenElementsBelongsToTheEnclosingElement)
{
    Write("mixed.xml", "<a>\n  <b/>\n  tail\n</a>");
    RecordingParser parser;
    ASSERT_TRUE(parser.ParseFile("mixed.xml"));
    EXPECT_EQ(parser.m_calls, (std::vector<std::wstring>{L"start :a()", L"start a:b()", L"end b",
                                                         L"text a:\n  tail\n", L"end a"}));
}

TEST_F(ParserTest, RepeatedAndChangingElementShapesKeepTheirOwnAttributes)
{
    // Values that are prefixes of each other, the same name with other attribute sets, repeats with new
    // values, more distinct shapes than the reader keeps maps for, and a text inside an element followed
    // by a child.
    std::string xml = "<r>";
    std::vector<std::wstring> expected = {L"start :r()"};
    for (std::string value : {"12", "1", "12", "", "1", "caf\xC3\xA9", "caf"}) {
        xml += "<p v=\"" + value + "\"/>";
        expected.insert(expected.end(), {L"start r:p(v=" + StringToWString(value) + L";)", L"end p"});
    }
    for (int i = 0; i < 700; ++i) {
        std::string n = std::to_string(i);
        std::wstring w = std::to_wstring(i);
        xml +=
            "<x a=\"" + n + "\"/><x b=\"" + n + "\" a=\"-\"/><s" + n + " v=\"" + n + "\">t<c/></s" + n + ">";
        expected.insert(expected.end(),
                        {L"start r:x(a=" + w + L";)", L"end x", L"start r:x(a=-;b=" + w + L";)", L"end x",
                         L"start r:s" + w + L"(v=" + w + L";)", L"text s" + w + L":t",
                         L"start r/s" + w + L":c()", L"end c", L"end s" + w});
    }
    Write("shapes.xml", xml + "</r>");
    expected.push_back(L"end r");
    RecordingParser parser;
    ASSERT_TRUE(parser.ParseFile("shapes.xml"));
    EXPECT_EQ(parser.m_calls, expected);
}

// Parses the file an "include" element names, then reads the include's own attributes.
class IncludingParser : public RecordingParser
{
protected:
    void HandleElementStart(const std::wstring& name) override
    {
        if (name == L"include") {
            ParseFile(WStringToString(GetAttribute(L"file")));
        }
        RecordingParser::HandleElementStart(name);
    }
};

TEST_F(ParserTest, AHandlerMayParseAnotherFileAndStillReadItsElement)
{
    Write("inner.xml", "<inner a=\"1\"/>");
    Write("outer.xml", "<outer><include file=\"inner.xml\" b=\"2\"/></outer>");
    IncludingParser parser;
    ASSERT_TRUE(parser.ParseFile("outer.xml"));
    EXPECT_EQ(parser.m_calls,
              (std::vector<std::wstring>{L"start :outer()", L"start :inner(a=1;)", L"end inner",
                                         L"start outer:include(b=2;file=inner.xml;)", L"end include",
                                         L"end outer"}));
}

TEST_F(ParserTest, MalformedXmlReportsTheErrorWithLineAndFile)
{
    Write("x.xml", "<a>\n  <b>\n  </c>\n</a>\n");
    RecordingParser parser;
    EXPECT_FALSE(parser.ParseFile("x.xml"));
    ASSERT_EQ(m_fatal.size(), 1u);
    EXPECT_EQ(m_fatal[0], "mismatched tag on Line 3 in File 'x.xml'");
    EXPECT_EQ(parser.GetErrorText(), m_fatal[0]);
    // The calls before the error were made; none after it.
    EXPECT_EQ(parser.m_calls, (std::vector<std::wstring>{L"start :a()", L"start a:b()"}));
}

TEST_F(ParserTest, AReaderThatMustSurviveGetsTheErrorWithoutTheFatalMessage)
{
    Write("saves.xml", "<profiles>\n<profile name=\"a\">\n");
    RecordingParser parser;
    parser.SetFatalOnError(false);
    EXPECT_FALSE(parser.ParseFile("saves.xml"));
    EXPECT_TRUE(m_fatal.empty());
    EXPECT_EQ(parser.GetErrorText(), "no element found on Line 3 in File 'saves.xml'");
}

TEST_F(ParserTest, PropertiesFilesComeFromTheirFolderAndAMissingFileGivesNoCallsAndNoMessage)
{
    Write("properties/p.xml", "<p/>");
    RecordingParser parser;
    EXPECT_FALSE(parser.ParseFile("nothing-here.xml"));
    EXPECT_FALSE(parser.LoadPropertiesFile("nothing-here.xml"));
    EXPECT_TRUE(m_fatal.empty());
    EXPECT_TRUE(parser.LoadPropertiesFile("p.xml"));
    EXPECT_EQ(parser.m_calls, (std::vector<std::wstring>{L"start :p()", L"end p"}));
}

// A data file replaced by a sparse 8 GB file was read whole before parsing (bad_alloc and an abort under a
// memory limit). Data files are read up to a limit; past it the file is refused unread, with the fatal
// message of a data-file error naming it, or, for a reader that must survive, the same text as its error.
TEST_F(ParserTest, AHugeDataFileIsRefusedUnreadWithAMessageNamingIt)
{
    Write("properties/tutorials.xml", "");
    {
        const int fd = ::open((m_folder + "/properties/tutorials.xml").c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 8LL << 30), 0) << "a sparse file costs nothing";
        ::close(fd);
    }
    RecordingParser parser;
    EXPECT_FALSE(parser.LoadPropertiesFile("tutorials.xml"));
    EXPECT_TRUE(parser.m_calls.empty());
    ASSERT_EQ(m_fatal.size(), 1u);
    EXPECT_EQ(m_fatal[0],
              "The file is larger than the 64 MB a data file may hold in File 'properties/tutorials.xml'");
    RecordingParser surviving;
    surviving.SetFatalOnError(false);
    EXPECT_FALSE(surviving.LoadPropertiesFile("tutorials.xml"));
    EXPECT_EQ(surviving.GetErrorText(), m_fatal[0]);
    EXPECT_EQ(m_fatal.size(), 1u);

    // Images, sounds and fonts read through the same function: refused, as a file that is not there.
    std::string bytes = "left over";
    EXPECT_FALSE(PakReadWholeFile("properties/tutorials.xml", bytes));
    EXPECT_TRUE(bytes.empty());
    // A file that does not say its size (a device, here one that never ends) is measured as it is read.
    SetPakInterface(nullptr);
    EXPECT_EQ(PakReadFile("/dev/zero", bytes), PakReadResult::TooLarge);
    EXPECT_TRUE(bytes.empty());
    // Up to the limit a file reads whole.
    Write("properties/exact.xml", std::string(kMaxDataFileBytes, ' '));
    EXPECT_EQ(PakReadFile(m_folder + "/properties/exact.xml", bytes), PakReadResult::Read);
    EXPECT_EQ(bytes.size(), kMaxDataFileBytes);
}

TEST_F(ParserTest, AttributeReaders)
{
    Write("attributes.xml", "<item name=\"n\" t=\"true\" one=\"1\" yes=\"yes\" zero=\"0\" hex=\"0x1F\" "
                            "neg=\"-12abc\" word=\"abc\"/>");
    AttributeParser parser;
    ASSERT_TRUE(parser.ParseFile("attributes.xml"));
    EXPECT_EQ(parser.m_read, (std::vector<int>{1, 1, 0, 1, 1, 0, 0, 0, 31, -12, 0, 42, 0}));
    // Outside a handler there is no current element.
    EXPECT_EQ(parser.GetAttribute(L"name"), L"");
}

} // namespace
