// A small element tree: what the profile mapping reads and writes. Attributes, comments
// and processing instructions are not kept; the text is the character data directly
// inside the element (UTF-8), whitespace between child elements left out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hx {

struct XmlElement {
    std::string name;          // the local name, without a prefix
    std::string namespaceUri;
    std::string text;
    std::vector<XmlElement> children;

    // The first child of that local name in that namespace, or nullptr.
    const XmlElement* Child(std::string_view localName, std::string_view uri) const;
    XmlElement& Add(std::string localName, std::string uri, std::string content = {});

    bool operator==(const XmlElement&) const = default;
};

// The document as UTF-8 text: the declaration, then the root with its namespace as the
// default one, children indented by one tab each level, one element a line. Texts are
// escaped; bytes that are not UTF-8, and characters XML 1.0 cannot carry, become U+FFFD.
// Children in a namespace of their own declare it where they stand. Names are written as
// they stand: they must be XML names.
std::string XmlDocumentText(const XmlElement& root);

// The text as an XML character data: & < > " escaped, tab, line feed and carriage return
// as character references (a parser would otherwise fold them), the rest as above.
std::string XmlEscapedText(std::string_view text);

}  // namespace hx
