// Reads and selects the rows of a list view that belongs to another process. List view
// messages carry pointers, so the item record and its text travel through a block of the
// other process's memory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace hx::test {

class RemoteListView {
public:
    explicit RemoteListView(HWND list);
    ~RemoteListView();
    RemoteListView(const RemoteListView&) = delete;
    RemoteListView& operator=(const RemoteListView&) = delete;

    bool Usable() const { return block_ != nullptr; }
    int Count() const;
    std::string Text(int row, int column) const;
    std::vector<std::string> Row(int row, int columns) const;
    // Selects and focuses the row and makes it the selection mark, as a click does.
    bool Select(int row) const;
    int SelectedRow() const;

private:
    HWND list_;
    HANDLE process_ = nullptr;
    void* block_ = nullptr;
};

}  // namespace hx::test
