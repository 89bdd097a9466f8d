#include "config/XmlElement.h"

#include <cstdint>

namespace hx {

const XmlElement* XmlElement::Child(std::string_view localName, std::string_view uri) const {
    for (const XmlElement& child : children) {
        if (child.name == localName && child.namespaceUri == uri) return &child;
    }
    return nullptr;
}

XmlElement& XmlElement::Add(std::string localName, std::string uri, std::string content) {
    children.push_back(XmlElement{std::move(localName), std::move(uri), std::move(content), {}});
    return children.back();
}

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 sequence at text[at], 0 when there is none.
size_t Utf8SequenceLength(std::string_view text, size_t at, uint32_t& code) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(at);
    size_t length = 0;
    if (lead < 0x80) return code = lead, 1;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, code = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, code = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, code = lead & 0x07;
    else return 0;
    if (at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF))) return 0;
    if (code >= 0xD800 && code <= 0xDFFF) return 0;
    return length;
}

bool XmlCharacter(uint32_t code) {
    if (code < 0x20) return code == 0x09 || code == 0x0A || code == 0x0D;
    return code != 0xFFFE && code != 0xFFFF;
}

void AppendElement(std::string& out, const XmlElement& element, const std::string& inheritedUri, int depth) {
    out.append(static_cast<size_t>(depth), '\t');
    out += '<' + element.name;
    if (element.namespaceUri != inheritedUri) out += " xmlns=\"" + XmlEscapedText(element.namespaceUri) + '"';
    if (element.children.empty() && element.text.empty()) {
        out += "/>\n";
        return;
    }
    out += '>';
    out += XmlEscapedText(element.text);
    if (!element.children.empty()) {
        out += '\n';
        for (const XmlElement& child : element.children) AppendElement(out, child, element.namespaceUri, depth + 1);
        out.append(static_cast<size_t>(depth), '\t');
    }
    out += "</" + element.name + ">\n";
}

}  // namespace

std::string XmlEscapedText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        uint32_t code = 0;
        const size_t length = Utf8SequenceLength(text, at, code);
        if (length == 0 || !XmlCharacter(code)) {
            out += kReplacement;
            at += length == 0 ? 1 : length;
            continue;
        }
        switch (code) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\t': out += "&#9;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default: out.append(text.substr(at, length)); break;
        }
        at += length;
    }
    return out;
}

std::string XmlDocumentText(const XmlElement& root) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    AppendElement(out, root, std::string(), 0);
    return out;
}

}  // namespace hx
