// Data exchange between a dialog's controls and its members.
#pragma once

#include <windows.h>

#include <string>

class CDataExchange {
public:
    CDataExchange(HWND dialog, bool saveAndValidate) : m_dialog(dialog), m_save(saveAndValidate) {}
    HWND Dialog() const { return m_dialog; }
    // true: controls to members; false: members to controls.
    bool Saving() const { return m_save; }

private:
    HWND m_dialog;
    bool m_save;
};

// The text of control `id` and `value`.
void DdxText(CDataExchange& dx, int id, std::string& value);
