// The on-line call book's XML answers, read by each XML reader the build has: expat's, and
// the small one of our own the Windows build uses. Both must give the same replies.
#include <gtest/gtest.h>

#include "reference/CallBookXml.h"
#include "reference/OnlineCallBook.h"
#include "reference/XmlEvents.h"

namespace vl {
namespace {

#ifdef _WIN32
const XmlReader kReaders[] = {read_xml_plain};
#else
const XmlReader kReaders[] = {read_xml_expat, read_xml_plain};
#endif

std::string database(std::string_view inner) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><QRZDatabase xmlns=\"http://x\">" +
           std::string(inner) + "</QRZDatabase>";
}

// Each answer read by each XML reader of the build: expat's (not on Windows) and our own.
TEST(CallBookXml, AnswersOfTheServiceByEachReader) {
    static const struct {
        std::string body;
        bool readable;
        const char* key;
        const char* error;
        const char* comment;  // name_and_address of the record; nullptr: no record
    } kCases[] = {
        {database("<Session><Key>abc</Key></Session>"), true, "abc", "", nullptr},
        {database("<Callsign><call>G9ZZA</call><fname> Ann\tB </fname><name>M\xC3\xBCller</name>"
                  "<addr1>1 High St</addr1><addr2>Leeds</addr2><country>England</country>"
                  "</Callsign><Session><Key>k</Key></Session>"),
         true, "k", "", "Ann B M\xFCller 1 High St Leeds England"},
        {database("<Session><Error>Not found: XX9XX</Error><Key>k</Key></Session>"), true, "k",
         "Not found: XX9XX", nullptr},
        {database("<Session><Error>Session Timeout</Error></Session>"), true, "", "Session Timeout",
         nullptr},
        // Namespace prefixes, and elements of the same names elsewhere, change nothing.
        {"<q:QRZDatabase xmlns:q=\"x\"><q:Session><q:Key>p</q:Key></q:Session>"
         "<Other><Key>no</Key></Other></q:QRZDatabase>",
         true, "p", "", nullptr},
        // Not the call book's answers.
        {"<html><body>Service unavailable", false, "", "", nullptr},
        {"<Other><Session><Key>k</Key></Session></Other>", false, "", "", nullptr},
        {database("<Session><Key>k</Key></Session>") + "<extra/>", false, "", "", nullptr},
        {"", false, "", "", nullptr},
        {std::string("\0\xFF\xFE", 3), false, "", "", nullptr},
        // A document type could expand entities without end: it is refused.
        {"<!DOCTYPE QRZDatabase [<!ENTITY a \"aaaa\">]><QRZDatabase><Session><Key>&a;</Key>"
         "</Session></QRZDatabase>",
         false, "", "", nullptr},
        // What our own reader must also refuse or read as expat does: references, CDATA,
        // comments, attributes, and markup that is not well-formed.
        {database("<Session><Key>a&amp;b&#9;&#65;&#x42;&lt;</Key></Session>"), true, "a&b AB<", "",
         nullptr},
        {database("<Session><Key><![CDATA[x<y]]></Key><!-- note --></Session>"), true, "x<y", "",
         nullptr},
        {"<?xml version='1.0'?>\n<!-- c --><QRZDatabase a=\"1\" b='2'><Session><Key>k</Key>"
         "</Session></QRZDatabase>\n<?pi x?>\n",
         true, "k", "", nullptr},
        {"\xEF\xBB\xBF" + database("<Session><Key>k</Key></Session>"), true, "k", "", nullptr},
        {database("<Session><Key>&nbsp;</Key></Session>"), false, "", "", nullptr},
        {database("<Session><Key>&#0;</Key></Session>"), false, "", "", nullptr},
        {database("<Session><Key>k</Session></Key>"), false, "", "", nullptr},
        {database("<Session><Key>k</Key></Session>") + "text", false, "", "", nullptr},
        {database("<Session a=1><Key>k</Key></Session>"), false, "", "", nullptr},
        {database("<Session a\"\"x\"><Key>k</Key></Session>"), false, "", "", nullptr},  // no "="
        {database("<Session><Key>\xC3</Key></Session>"), false, "", "", nullptr},
        {database("<Session><Key>\x01</Key></Session>"), false, "", "", nullptr},
        {"<QRZDatabase>", false, "", "", nullptr},
        {"<QRZDatabase/>", true, "", "", nullptr},
    };
    for (XmlReader read : kReaders) {
        for (const auto& c : kCases) {
            CallBookReply reply = parse_callbook_reply(c.body, read);
            EXPECT_EQ(reply.readable, c.readable) << c.body;
            EXPECT_EQ(reply.key, c.key) << c.body;
            EXPECT_EQ(reply.error, c.error) << c.body;
            EXPECT_EQ(reply.record.has_value(), c.comment != nullptr) << c.body;
            if (reply.record && c.comment) {
                EXPECT_EQ(name_and_address(*reply.record), c.comment);
            }
        }
        // A field of any length is kept to a bounded size.
        CallBookReply big = parse_callbook_reply(
            database("<Callsign><name>" + std::string(100000, 'x') + "</name></Callsign>"), read);
        ASSERT_TRUE(big.record);
        EXPECT_EQ(big.record->name.size(), 256u);
    }
}

}  // namespace
}  // namespace vl
