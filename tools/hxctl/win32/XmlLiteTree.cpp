#include "tools/hxctl/win32/XmlLiteTree.h"

#include <windows.h>
#include <objidl.h>
#include <shlwapi.h>
#include <xmllite.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "framework/win32/Handles.h"
#include "tools/hxctl/win32/Utf8.h"

namespace hx::win {
namespace {

// Deep enough for any WLAN profile, shallow enough that no document can exhaust the stack.
constexpr UINT kMaxElementDepth = 64;

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <typename T>
using ComPtr = std::unique_ptr<T, ComRelease>;

struct FileTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
using UniqueFile = UniqueHandle<HANDLE, FileTraits>;

constexpr const char* kTooLarge = "the file is larger than 1 MB: it is not a WLAN profile";

using CreateXmlReaderFunction = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

// XmlLite from the system folder by its full path: MinGW has no import library for it,
// and a DLL of that name put beside the program is never the one loaded.
UniqueModule LoadXmlLite() {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 16) return UniqueModule();
    return UniqueModule(::LoadLibraryW((std::wstring(folder, length) + L"\\xmllite.dll").c_str()));
}

// Whether the reader stopped at the very end of the bytes (a line and column as XmlLite
// counts them, from 1): a document cut short, whatever error the reader names for it.
bool AtEnd(std::string_view bytes, UINT line, UINT column) {
    UINT lines = 1, lastColumn = 1;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\n' || (c == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))) {
            ++lines;
            lastColumn = 1;
        } else if (c != '\r' && (static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++lastColumn;  // one more character: continuation bytes of UTF-8 do not count
        }
    }
    return line == lines && column + 1 >= lastColumn;
}

std::string ReadFailure(IXmlReader& reader, HRESULT status, std::string_view bytes) {
    UINT line = 0, column = 0;
    reader.GetLineNumber(&line);
    reader.GetLinePosition(&column);
    const auto code = static_cast<unsigned long>(status);
    std::string what = "the file is not well-formed XML";
    if (code == MX_E_INPUTEND || (code != WC_E_ELEMENTMATCH && AtEnd(bytes, line, column)))
        what = "the file ends in the middle of the XML: it is truncated";
    if (code == WC_E_DTDPROHIBITED) what = "the file has a document type definition (DTD), which is not read";
    char where[96];
    std::snprintf(where, sizeof where, " (XmlLite error 0x%08lX at line %u, column %u)",
                  static_cast<unsigned long>(status), line, column);
    return what + where;
}

bool OnlyWhitespace(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

class TreeBuilder {
public:
    explicit TreeBuilder(XmlTree& out) : out_(out) {}

    // One node; false with the error set when the document cannot be a tree.
    bool Node(IXmlReader& reader, XmlNodeType type) {
        const wchar_t* text = nullptr;
        UINT length = 0;
        switch (type) {
        case XmlNodeType_Element: {
            if (open_.empty() && started_) return Fail("the document has more than one root element");
            XmlElement element;
            if (FAILED(reader.GetLocalName(&text, &length))) return Fail("the reader gave no element name");
            element.name = Utf8(std::wstring_view(text, length));
            if (FAILED(reader.GetNamespaceUri(&text, &length))) return Fail("the reader gave no namespace");
            element.namespaceUri = Utf8(std::wstring_view(text, length));
            const bool empty = reader.IsEmptyElement() != FALSE;
            XmlElement* added = nullptr;
            if (open_.empty()) {
                out_.root = std::move(element);
                added = &out_.root;
                started_ = true;
            } else {
                open_.back()->children.push_back(std::move(element));
                added = &open_.back()->children.back();
            }
            if (!empty) open_.push_back(added);
            return true;
        }
        case XmlNodeType_EndElement:
            if (open_.empty()) return Fail("an end tag closes no element");
            if (!open_.back()->children.empty() && OnlyWhitespace(open_.back()->text)) open_.back()->text.clear();
            open_.pop_back();
            return true;
        case XmlNodeType_Text:
        case XmlNodeType_CDATA:
        case XmlNodeType_Whitespace:
            if (open_.empty()) return true;  // whitespace around the root element
            if (FAILED(reader.GetValue(&text, &length))) return Fail("the reader gave no text");
            open_.back()->text += Utf8(std::wstring_view(text, length));
            return true;
        default:
            return true;  // the declaration, comments, processing instructions
        }
    }

    bool Finish() {
        if (!started_) return Fail("the document holds no element");
        if (!open_.empty()) return Fail("the document ends before <" + open_.back()->name + "> is closed: it is truncated");
        return true;
    }

private:
    bool Fail(std::string message) {
        out_.error = std::move(message);
        return false;
    }

    XmlTree& out_;
    std::vector<XmlElement*> open_;  // the open elements, innermost last
    bool started_ = false;
};

}  // namespace

XmlTree ReadXmlTree(std::string_view bytes) {
    XmlTree out;
    if (bytes.size() > kMaxXmlDocumentBytes) {
        out.error = kTooLarge;
        return out;
    }
    if (bytes.find('<') == std::string_view::npos) {
        out.error = "the document holds no element";
        return out;
    }
    const UniqueModule xmllite = LoadXmlLite();
    const auto create = xmllite ? reinterpret_cast<CreateXmlReaderFunction>(
                                      reinterpret_cast<void*>(::GetProcAddress(xmllite.Get(), "CreateXmlReader")))
                                : nullptr;
    if (create == nullptr) {
        out.error = "XmlLite (xmllite.dll) cannot be loaded from the system folder";
        return out;
    }
    // shlwapi is loaded here only: imported, it brings user32 and gdi32 into every run of
    // the console program.
    using MemStreamFunction = IStream*(WINAPI*)(const BYTE*, UINT);
    const UniqueModule shlwapi(::LoadLibraryW(L"shlwapi.dll"));
    const auto memStream = shlwapi ? reinterpret_cast<MemStreamFunction>(
                                         reinterpret_cast<void*>(::GetProcAddress(shlwapi.Get(), "SHCreateMemStream")))
                                   : nullptr;
    ComPtr<IStream> stream(memStream != nullptr
                               ? memStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()))
                               : nullptr);
    IXmlReader* created = nullptr;
    if (!stream || FAILED(create(__uuidof(IXmlReader), reinterpret_cast<void**>(&created), nullptr))) {
        out.error = "the XML reader cannot be created";
        return out;
    }
    ComPtr<IXmlReader> reader(created);
    reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
    reader->SetProperty(XmlReaderProperty_MaxElementDepth, kMaxElementDepth);
    if (FAILED(reader->SetInput(stream.get()))) {
        out.error = "the XML reader takes no input";
        return out;
    }
    TreeBuilder builder(out);
    // Every node takes at least one byte of the document. A reader that gives more is not
    // advancing: Wine's XmlLite gives the last text node again and again, without end, when
    // the document is cut off inside an element.
    size_t nodes = 0;
    for (;;) {
        XmlNodeType type = XmlNodeType_None;
        const HRESULT status = reader->Read(&type);
        if (status == S_FALSE) break;
        if (status == S_OK && ++nodes > bytes.size()) {
            out.error = "the file ends in the middle of the XML: it is truncated (the reader stopped advancing)";
            out.root = XmlElement{};
            return out;
        }
        if (status != S_OK) {
            out.error = ReadFailure(*reader, status, bytes);
            out.root = XmlElement{};
            return out;
        }
        if (!builder.Node(*reader, type)) {
            out.root = XmlElement{};
            return out;
        }
    }
    if (!builder.Finish()) out.root = XmlElement{};
    return out;
}

}  // namespace hx::win

namespace hx::win {

XmlTree ReadXmlFile(const std::wstring& path) {
    XmlTree out;
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size)) {
        out.error = "the file cannot be opened (error " + std::to_string(::GetLastError()) + ")";
        return out;
    }
    if (size.QuadPart > static_cast<LONGLONG>(kMaxXmlDocumentBytes)) {
        out.error = kTooLarge;
        return out;
    }
    // One byte more than the size told, so that a file that grew meanwhile is still caught.
    std::string bytes(static_cast<size_t>(size.QuadPart) + 1, '\0');
    DWORD read = 0, total = 0;
    while (total < bytes.size() &&
           ::ReadFile(file.Get(), bytes.data() + total, static_cast<DWORD>(bytes.size() - total), &read, nullptr) && read > 0)
        total += read;
    bytes.resize(total);
    return ReadXmlTree(bytes);
}

}  // namespace hx::win
