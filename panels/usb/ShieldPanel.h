// The resident shield: lists the threats in the roots of the USB drives and
// deletes them into quarantine.
#pragma once

#include "controls/ImageButton.h"
#include "framework/Dialog.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

class CShieldPanel : public CDialog {
public:
    CShieldPanel();
    ~CShieldPanel() override;

    // Lists the threats in the root of each of the first `count` drives, in
    // front of any rows already there (the caller empties the list first).
    // False, doing nothing, without letters.
    bool InspectDrives(const BYTE* letters, size_t count);
    // The same for folders given as roots ("E:\\"), in the given order.
    void InspectRoots(const std::vector<std::string>& roots);
    // Empties the threat list. Rows of an earlier list that a running delete-all
    // is still working on are no longer updated.
    void EmptyThreatList();
    HWND ThreatList() const { return m_list; }

protected:
    BOOL OnInitDialog() override;

private:
    // What a delete-all worker reports to the panel (sent, so it waits).
    enum : UINT {
        WM_DELETE_ALL_BUTTONS = WM_APP + 1, // wParam: enable
        WM_DELETE_ALL_ROW,                  // wParam: row, lParam: const RowState*
    };
    struct RowState {
        unsigned listGeneration;
        UINT stateText;
    };
    struct DeleteAllJob {
        HWND panel;
        unsigned listGeneration;
        std::vector<std::string> paths;
    };

    void OnDelete();
    void OnDeleteAll();
    LRESULT OnDeleteAllButtons(WPARAM enable, LPARAM);
    LRESULT OnDeleteAllRow(WPARAM row, LPARAM state);
    static UINT DeleteAllThreadProc(void* param);

    struct ThreatRow {
        std::string path;
        UINT state; // string number of column 1
    };

    void OnGetDisplayInfoA(NMHDR* header, LRESULT*);
    void OnGetDisplayInfoW(NMHDR* header, LRESULT*);
    void EnableButtons(bool enable);
    std::string RowPath(int row) const;
    void SetRowState(int row, UINT stateText);
    const std::string& StateText(UINT id);

    HWND m_list = nullptr;
    HFONT m_statusFont = nullptr;
    CImageButton m_delete;
    CImageButton m_deleteAll;
    CImageButton m_picture;
    // The rows the list shows; only the UI thread touches them.
    std::vector<ThreatRow> m_rows;
    size_t m_rowCount = 0;
    std::map<UINT, std::string> m_stateTexts;
    // Counts the lists the panel has shown; a worker's row updates carry the
    // generation they were taken from.
    unsigned m_listGeneration = 0;

    DECLARE_MESSAGE_TABLE()
};

// Deletes one listed threat through the quarantine: the file's attributes are
// set to normal; a file that no longer exists counts as deleted. Returns the
// state text to show ("Deleted" or "Delete failed").
UINT DeleteListedThreat(const std::string& path);
