#include "pages/win32/CPage_Site.h"

#include <commctrl.h>

#include "framework/win32/Handles.h"
#include "pages/win32/DialogItems.h"

namespace hx::win {
namespace {

constexpr int kColumnCount = 6;
constexpr int kFirstCentredColumn = 2;  // "WEP" to "Signal"

}  // namespace

BOOL CPage_Site::OnInitDialog() {
    if (const PageContext* context = Context(); context != nullptr && Shell() != nullptr) {
        model_.emplace(context->library, context->state, context->applier, context->worker, *Shell(),
                       static_cast<SurveyView&>(*this));
    }
    ::SendMessageA(List(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    group_.Attach(Hwnd(), IDC_SITE_GROUP);
    group_.SetBackgroundColour(kPageBackground);
    group_.SetTextColour(kGroupText);
    InsertColumns();
    return TRUE;
}

void CPage_Site::InsertColumns() {
    for (int column = 0; column < kColumnCount; ++column) {
        LVCOLUMNA header{};
        header.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM;
        header.fmt = LVCFMT_LEFT;
        header.pszText = const_cast<char*>(kSurveyColumns[column]);
        header.iSubItem = column;
        ::SendMessageA(List(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header));
    }
    FitColumnsToHeaders();
    for (int column = kFirstCentredColumn; column < kColumnCount; ++column) {
        LVCOLUMNA format{};
        format.mask = LVCF_FMT;
        format.fmt = LVCFMT_CENTER;
        ::SendMessageA(List(), LVM_SETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&format));
    }
}

void CPage_Site::FitColumnsToHeaders() {
    for (int column = 0; column < kColumnCount; ++column) {
        ::SendMessageA(List(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
        KeepHeaderReadable(column);
    }
}

void CPage_Site::KeepHeaderReadable(int column) {
    // Some list views size a column a pixel short of what their header draws its text in,
    // and the header then shows an ellipsis ("Chan..."); the column gets at least the room
    // its header needs: the text and the header's margin on both sides.
    HWND header = reinterpret_cast<HWND>(::SendMessageA(List(), LVM_GETHEADER, 0, 0));
    if (header == nullptr) return;
    const std::string text = kSurveyColumns[column];
    WindowDc dc(header);
    SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageA(header, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    const int margin = static_cast<int>(::SendMessageA(header, HDM_GETBITMAPMARGIN, 0, 0));
    const int needed = extent.cx + 2 * margin + 1;
    const int width = static_cast<int>(::SendMessageA(List(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    if (width < needed)
        ::SendMessageA(List(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(needed, 0));
}

void CPage_Site::StartScan() {
    if (model_) model_->Refresh();
}

void CPage_Site::FillList() {
    if (model_) model_->FillList();
}

const std::vector<SurveyEntry>& CPage_Site::Entries() const {
    static const std::vector<SurveyEntry> none;
    return model_ ? model_->Entries() : none;
}

void CPage_Site::EnableRefresh(bool enable) { ::EnableWindow(Item(IDC_SITE_REFRESH), enable ? TRUE : FALSE); }
void CPage_Site::EnableConnect(bool enable) { ::EnableWindow(Item(IDC_SITE_CONNECT), enable ? TRUE : FALSE); }
void CPage_Site::EnableList(bool enable) { ::EnableWindow(List(), enable ? TRUE : FALSE); }

void CPage_Site::ShowRows(const std::vector<SurveyRow>& rows) {
    ::SendMessageA(List(), LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < rows.size(); ++i) {
        const SurveyRow& row = rows[i];
        for (size_t column = 0; column < row.size() && column < kColumnCount; ++column) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(i);
            item.iSubItem = static_cast<int>(column);
            item.pszText = const_cast<char*>(row[column].c_str());
            const UINT message = column == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA;
            ::SendMessageA(List(), message, column == 0 ? 0 : i, reinterpret_cast<LPARAM>(&item));
        }
    }
    FitColumnsToHeaders();
}

void CPage_Site::SelectRow(int row) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    // Connect joins the row of the selection mark: the row shown selected is the one joined.
    ::SendMessageA(List(), LVM_SETSELECTIONMARK, 0, row);
    ::SendMessageA(List(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

bool CPage_Site::AskYesNo(const std::string& text, const std::string& caption) {
    return ::MessageBoxA(Hwnd(), text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CPage_Site::Tell(const std::string& text) { ShowMessage(Hwnd(), text.c_str()); }

int CPage_Site::SelectedRow() const {
    return static_cast<int>(::SendMessageA(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int CPage_Site::SelectionMark() const {
    return static_cast<int>(::SendMessageA(List(), LVM_GETSELECTIONMARK, 0, 0));
}

bool CPage_Site::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_SITE_REFRESH:
        StartScan();
        return true;
    case IDC_SITE_CONNECT:
        if (model_) model_->ConnectSelection(SelectedRow(), SelectionMark());
        return true;
    default:
        return false;
    }
}

bool CPage_Site::OnNotify(const NMHDR& header, LRESULT& result) {
    if (header.idFrom != IDC_SITE_LIST || !model_) return false;
    switch (header.code) {
    case NM_CLICK:
        model_->SelectionChanged(SelectedRow());
        result = 0;
        return true;
    case LVN_ITEMACTIVATE:
        model_->RowActivated(SelectedRow(), SelectionMark());
        result = 0;
        return true;
    default:
        return false;
    }
}

}  // namespace hx::win
