// The Site Survey page: scan, list the networks found, join one.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "controls/win32/CStaticEx.h"
#include "pages/SiteSurveyModel.h"
#include "pages/win32/Page.h"
#include "resources/resource.h"

namespace hx::win {

class CPage_Site : public Page, private SurveyView {
public:
    CPage_Site() : Page(IDD_SITE_SURVEY) {}

    // Starts a scan whose results the heartbeat collects a few ticks later.
    virtual void StartScan();
    // Reads the scan results into the list.
    virtual void FillList();

    // The entries behind the rows, in row order (none before the first list).
    const std::vector<SurveyEntry>& Entries() const;

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(const NMHDR& header, LRESULT& result) override;

private:
    // SurveyView
    void EnableRefresh(bool enable) override;
    void EnableConnect(bool enable) override;
    void EnableList(bool enable) override;
    void ShowRows(const std::vector<SurveyRow>& rows) override;
    void SelectRow(int row) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void Tell(const std::string& text) override;

    HWND List() const { return Item(IDC_SITE_LIST); }
    void InsertColumns();
    void FitColumnsToHeaders();
    void KeepHeaderReadable(int column);
    // The first selected row, or -1.
    int SelectedRow() const;
    int SelectionMark() const;

    CStaticEx group_;
    std::optional<SiteSurveyModel> model_;
};

}  // namespace hx::win
