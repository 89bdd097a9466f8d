#include "tests/win/common/RemoteListView.h"

#include <commctrl.h>

namespace hx::test {
namespace {

constexpr size_t kBlockSize = 4096;
constexpr size_t kTextOffset = 1024;  // the item record first, its text after it
constexpr int kTextSize = 512;

}  // namespace

RemoteListView::RemoteListView(HWND list) : list_(list) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(list, &processId);
    process_ = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_ != nullptr)
        block_ = ::VirtualAllocEx(process_, nullptr, kBlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteListView::~RemoteListView() {
    if (block_ != nullptr) ::VirtualFreeEx(process_, block_, 0, MEM_RELEASE);
    if (process_ != nullptr) ::CloseHandle(process_);
}

int RemoteListView::Count() const { return static_cast<int>(::SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0)); }

std::string RemoteListView::Text(int row, int column) const {
    if (!Usable()) return "";
    auto* remoteText = static_cast<char*>(block_) + kTextOffset;
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = remoteText;
    item.cchTextMax = kTextSize;
    const char empty = '\0';
    ::WriteProcessMemory(process_, remoteText, &empty, 1, nullptr);
    if (!::WriteProcessMemory(process_, block_, &item, sizeof item, nullptr)) return "";
    ::SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block_));
    char text[kTextSize] = {};
    ::ReadProcessMemory(process_, remoteText, text, sizeof text - 1, nullptr);
    return text;
}

std::vector<std::string> RemoteListView::Row(int row, int columns) const {
    std::vector<std::string> texts;
    for (int column = 0; column < columns; ++column) texts.push_back(Text(row, column));
    return texts;
}

bool RemoteListView::Select(int row) const {
    if (!Usable()) return false;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (!::WriteProcessMemory(process_, block_, &state, sizeof state, nullptr)) return false;
    ::SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block_));
    ::SendMessageA(list_, LVM_SETSELECTIONMARK, 0, row);
    return SelectedRow() == row;
}

int RemoteListView::SelectedRow() const {
    return static_cast<int>(::SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

}  // namespace hx::test
