#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "ui_toolkit/xml_document.h"

using DuiLib::ParseXml;
using DuiLib::XmlElement;
using DuiLib::XmlParseResult;

namespace {

const char kLayout[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Window size=\"605,127\" caption=\"0,0,0,127\" bktrans=\"true\">\n"
    "  <!-- comment -->\n"
    "  <Font id=\"0\" name=\"微软雅黑\" size=\"14\" bold=\"true\" />\n"
    "  <VerticalLayout bkimage=\"file='main_wnd/bk.png' dest='0,0,10,10'\">\n"
    "    <Button name=\"rectangular_btn\" tooltip=\"双击截屏&lt;n&gt;右键\" width=\"130\"/>\n"
    "  </VerticalLayout>\n"
    "</Window>\n";

// Copies into an exact-size heap buffer so the sanitizer flags any read past the end.
XmlParseResult Parse(const std::string& text) {
    const std::vector<char> buffer(text.begin(), text.end());
    return ParseXml(buffer.data(), buffer.size());
}

// The decoded value of attribute `a` in <r a=QUOTED/>, or "FAIL".
std::string Decoded(const std::string& quoted) {
    const XmlParseResult result = Parse("<r a=" + quoted + "/>");
    return result.root ? *result.root->Attribute("a") : "FAIL";
}

std::string Nested(size_t depth, const std::string& innermost = "") {
    std::string open, close;
    for (size_t i = 0; i < depth; ++i) open += "<e>", close += "</e>";
    return open + innermost + close;
}

std::string Utf16Le(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// Each document must fail, with a message, at the given byte offset.
void ExpectFailures(const std::vector<std::pair<std::string, size_t>>& cases) {
    for (const auto& [text, offset] : cases) {
        const XmlParseResult result = Parse(text);
        EXPECT_FALSE(result.root) << text;
        EXPECT_FALSE(result.error.empty()) << text;
        EXPECT_EQ(result.errorOffset, offset) << text << ": " << result.error;
    }
}

}  // namespace

TEST(XmlDocument, BuildsTheLayoutTree) {
    const XmlParseResult result = Parse(kLayout);
    ASSERT_TRUE(result.root) << result.error << " at " << result.errorOffset;
    EXPECT_TRUE(result.error.empty());
    const XmlElement& window = *result.root;
    EXPECT_EQ(window.name, "Window");
    ASSERT_EQ(window.attributes.size(), 3u);
    EXPECT_EQ(window.attributes[2].name, "bktrans");
    EXPECT_EQ(window.attributes[2].value, "true");
    ASSERT_EQ(window.children.size(), 2u);
    EXPECT_EQ(*window.children[0]->Attribute("name"), "微软雅黑");
    EXPECT_TRUE(window.children[0]->children.empty());
    const XmlElement& layout = *window.children[1];
    EXPECT_EQ(*layout.Attribute("bkimage"), "file='main_wnd/bk.png' dest='0,0,10,10'");
    ASSERT_EQ(layout.children.size(), 1u);
    EXPECT_EQ(layout.children[0]->name, "Button");
    EXPECT_EQ(*layout.children[0]->Attribute("tooltip"), "双击截屏<n>右键");

    XmlElement element;
    element.attributes = {{"a", "1"}, {"b", "2"}, {"a", "3"}};
    EXPECT_EQ(*element.Attribute("a"), "1");
    EXPECT_EQ(element.Attribute("A"), nullptr);
    EXPECT_EQ(element.Attribute("ab"), nullptr);
}

TEST(XmlDocument, NamesAndWhitespace) {
    const XmlParseResult result =
        Parse("\r\n\t<ns:W_1.x-y\n\ta\t=\r\n'1'  b = \"2\"><窗口 属性='值'/></ns:W_1.x-y  >\n");
    ASSERT_TRUE(result.root) << result.error;
    EXPECT_EQ(result.root->name, "ns:W_1.x-y");
    EXPECT_EQ(*result.root->Attribute("b"), "2");
    ASSERT_EQ(result.root->children.size(), 1u);
    EXPECT_EQ(*result.root->children[0]->Attribute("属性"), "值");
    ExpectFailures({{"<1a/>", 1}, {"<-a/>", 1}, {"<.a/>", 1}, {"< a/>", 1}, {"<a b='1'c='2'/>", 8},
                    {"<a b=1/>", 5}, {"<a b'1'/>", 4}, {"<a b='1' 2c='3'/>", 9}, {"<a></ a>", 5},
                    {"<a/ >", 2}, {"<a></a x>", 7}});
}

TEST(XmlDocument, DecodesEntitiesInAttributeValues) {
    EXPECT_EQ(Decoded("'&lt;&gt;&amp;&quot;&apos;&amp;lt;'"), "<>&\"'&lt;");
    EXPECT_EQ(Decoded("'&#65;&#x42;&#x6a;&#x6A;&#0065;'"), "ABjjA");
    EXPECT_EQ(Decoded("'&#233;&#x4E2D;&#x1F600;&#x10FFFF;'"),
              "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF");
    EXPECT_EQ(Decoded("\"it's\""), "it's");
    EXPECT_EQ(Decoded("'say \"hi\" a>b'"), "say \"hi\" a>b");
    EXPECT_EQ(Decoded("'a\tb\r\nc'"), "a\tb\r\nc");
    EXPECT_EQ(Decoded("''"), "");
    for (const char* bad : {"'&nbsp;'", "'&LT;'", "'&;'", "'&amp'", "'a & b'", "'&#0;'", "'&#x0;'",
                            "'&#xD800;'", "'&#xDFFF;'", "'&#x110000;'", "'&#99999999999999;'",
                            "'&#;'", "'&#x;'", "'&#X41;'", "'&#12a;'", "'&#xG;'", "'&#-1;'"}) {
        EXPECT_EQ(Decoded(bad), "FAIL") << bad;
    }
    ExpectFailures({{"<r a='x&foo;'/>", 7}, {"<r a='x<y'/>", 7}, {"<r a='x/>", 5},
                    {"<r a='&amp' b='&amp;'/>", 6}});
}

TEST(XmlDocument, ByteOrderMarks) {
    const XmlParseResult utf8 = Parse("\xEF\xBB\xBF<a b='1'/>");
    ASSERT_TRUE(utf8.root) << utf8.error;
    EXPECT_EQ(utf8.root->name, "a");

    const XmlParseResult utf16 = Parse(Utf16Le(u"<窗口 tip='双击，&#x41;\U0001F600'><b/></窗口>"));
    ASSERT_TRUE(utf16.root) << utf16.error;
    EXPECT_EQ(utf16.root->name, "窗口");
    EXPECT_EQ(*utf16.root->Attribute("tip"), "双击，A\xF0\x9F\x98\x80");
    EXPECT_EQ(utf16.root->children.size(), 1u);

    // Offsets count bytes of the original input, BOM included, also for UTF-16.
    ExpectFailures({{"\xEF\xBB\xBF<a></b>", 6},
                    {"\xEF\xBB<a/>", 0},
                    {Utf16Le(u"<中></b>"), 8},
                    {Utf16Le(u"<a/>") + std::string("\x00\xD8", 2), 10},
                    {Utf16Le(u"<a b='\xD800x'/>"), 14},
                    {Utf16Le(u"<a b='\xDC00\xDC00'/>"), 14},
                    {Utf16Le(u"<a/>") + "<", 10},
                    {std::string("<\0a\0/\0>\0", 8), 1}});
}

TEST(XmlDocument, SkipsCommentsInstructionsDoctypeTextAndCdata) {
    const XmlParseResult result = Parse(
        "<?xml version='1.0'?><!-- a -- b --><!DOCTYPE W SYSTEM \"x>[y].dtd\">\n"
        "<?style x?><W>text &bogus; <![CDATA[<Hidden a='&'>]]> more"
        "<!-- <Hidden/> --><?pi <Hidden/> ?><Child/>tail</W><!-- after --><?pi?>\n ");
    ASSERT_TRUE(result.root) << result.error << " at " << result.errorOffset;
    ASSERT_EQ(result.root->children.size(), 1u);
    EXPECT_EQ(result.root->children[0]->name, "Child");
    ExpectFailures({{"<!DOCTYPE a [<!ENTITY x 'y'>]><a/>", 12}, {"<!DOCTYPE a><!DOCTYPE a><a/>", 12},
                    {"<a/><!DOCTYPE a>", 4}, {"<a><!DOCTYPE a></a>", 3}, {"<!DOCTYPEa><a/>", 9},
                    {"<!DOCTYPE a SYSTEM 'x><a/>", 0}, {"<a><!-- x </a>", 3}, {"<!--><a/>", 0},
                    {"<a><![CDATA[ x </a>", 3}, {"<? x?><a/>", 2}, {"<?x <a/>", 0}});
}

TEST(XmlDocument, StructuralErrorsReportWhereTheyHappen) {
    ExpectFailures({{"", 0}, {" \r\n\t", 4}, {"<!-- only -->", 13}, {"text<a/>", 0},
                    {"<a></b>", 3}, {"<a><b></a></b>", 6}, {"<a><b>", 6}, {"<a", 2},
                    {"<a b='1'", 8}, {"<a/><b/>", 4}, {"<a/>x", 4}, {"<a></a>&amp;", 7},
                    {"<a b='1' c='2' b='3'/>", 15}, {"<a x='' y='' x='' y=''/>", 13},
                    {std::string("<a>\0</a>\0", 9), 8}});
}

TEST(XmlDocument, DepthElementAndSizeLimits) {
    EXPECT_TRUE(Parse(Nested(256)).root);
    EXPECT_TRUE(Parse(Nested(255, "<x/>")).root);
    ExpectFailures({{Nested(257), 256 * 3}, {Nested(256, "<x/>"), 256 * 3}});

    std::string siblings = "<r>";
    for (size_t i = 1; i < DuiLib::kXmlMaxElements; ++i) siblings += "<c/>";
    EXPECT_TRUE(Parse(siblings + "</r>").root);
    ExpectFailures({{siblings + "<c/></r>", siblings.size()}});

    std::string padded = "<a/>";
    padded.resize(DuiLib::kXmlMaxInputSize, ' ');
    EXPECT_TRUE(Parse(padded).root);
    EXPECT_EQ(Parse(padded + " ").error, "input too large");
}

TEST(XmlDocument, EveryPrefixOfALayoutFailsUntilTheRootCloses) {
    const std::string text = kLayout;
    const size_t rootEnd = text.find("</Window>") + 9;
    for (size_t length = 0; length <= text.size(); ++length) {
        const XmlParseResult result = Parse(text.substr(0, length));
        EXPECT_EQ(result.root != nullptr, length >= rootEnd) << "prefix length " << length;
        EXPECT_LE(result.errorOffset, length);
    }
}

TEST(XmlDocument, LongHostileInputsStayLinear) {
    const size_t megabyte = 1 << 20;
    std::string attributes = "<a";
    for (size_t i = 0; attributes.size() < megabyte; ++i) {
        attributes += " n" + std::to_string(i) + "='&amp;'";
    }
    std::string openTags, spaced;
    while (openTags.size() < megabyte) openTags += "<a>", spaced += "<a ";
    const std::pair<std::string, bool> cases[] = {
        {attributes + "/>", true},          {attributes + " n0=''/>", false},
        {openTags, false},                  {spaced, false},
        {"<a b='" + std::string(megabyte, '&') + "'/>", false},
        {"<!--" + std::string(megabyte, '-'), false}};
    // Processor time, which other programs on a busy machine do not stretch much; a quadratic parse
    // of a megabyte would take minutes, so the bound is far from a linear one under sanitizers.
    for (const auto& [text, parses] : cases) {
        const std::clock_t start = std::clock();
        EXPECT_EQ(Parse(text).root != nullptr, parses) << text.substr(0, 20);
        const double took = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        EXPECT_LT(took, 5.0) << text.substr(0, 20);
    }
}
