// C++ objects behind existing controls (the custom controls subclass the
// controls of a dialog template). The dialog offers each control the messages
// it sends its parent about it (owner drawing, colours, notifications) first.
#pragma once

#include <windows.h>

class CSubclassedWindow {
public:
    CSubclassedWindow() = default;
    virtual ~CSubclassedWindow();
    CSubclassedWindow(const CSubclassedWindow&) = delete;
    CSubclassedWindow& operator=(const CSubclassedWindow&) = delete;

    // Attaches to the control `id` of `dialog`; false when there is none or it
    // is already attached to an object.
    bool SubclassDlgItem(UINT id, HWND dialog);
    bool Subclass(HWND hwnd);
    void Unsubclass();

    HWND GetSafeHwnd() const { return m_hwnd; }
    operator HWND() const { return m_hwnd; }

    // The object attached to `hwnd`, or null.
    static CSubclassedWindow* FromHandle(HWND hwnd);

    // A message the parent received about this control. Return true when
    // handled; the parent then does not see it.
    virtual bool OnReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The control's own window procedure.
    LRESULT CallOriginalProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called once the control is attached.
    virtual void OnSubclassed() {}

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    WNDPROC m_originalProc = nullptr;
};

// Offers a control-related parent message to the control's object, if any.
bool ReflectToControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
