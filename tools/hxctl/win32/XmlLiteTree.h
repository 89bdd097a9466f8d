// An XML document read into an element tree with XmlLite, the XML reader every supported
// Windows ships. Document type definitions are refused, and so is a document over 1 MB.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "config/XmlElement.h"

namespace hx::win {

inline constexpr size_t kMaxXmlDocumentBytes = 1024 * 1024;

struct XmlTree {
    std::string error;  // why the document could not be read; empty when it was
    XmlElement root;

    bool Read() const { return error.empty(); }
};

// The bytes of a whole document, in any encoding XmlLite detects (a byte-order mark or the
// declaration; UTF-8 otherwise).
XmlTree ReadXmlTree(std::string_view bytes);

// The same for a file; one over 1 MB is refused before it is read.
XmlTree ReadXmlFile(const std::wstring& path);

}  // namespace hx::win
