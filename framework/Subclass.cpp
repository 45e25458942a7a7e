#include "framework/Subclass.h"

namespace {
const char ObjectProperty[] = "Plugwarden.Object";
}

CSubclassedWindow::~CSubclassedWindow()
{
    Unsubclass();
}

bool CSubclassedWindow::SubclassDlgItem(UINT id, HWND dialog)
{
    return Subclass(GetDlgItem(dialog, static_cast<int>(id)));
}

bool CSubclassedWindow::Subclass(HWND hwnd)
{
    if (hwnd == nullptr || m_hwnd != nullptr || FromHandle(hwnd) != nullptr)
        return false;
    if (!SetPropA(hwnd, ObjectProperty, this))
        return false;
    m_hwnd = hwnd;
    m_originalProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    OnSubclassed();
    return true;
}

void CSubclassedWindow::Unsubclass()
{
    if (m_hwnd == nullptr)
        return;
    if (IsWindow(m_hwnd)) {
        SetWindowLongPtrA(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_originalProc));
        RemovePropA(m_hwnd, ObjectProperty);
    }
    m_hwnd = nullptr;
    m_originalProc = nullptr;
}

CSubclassedWindow* CSubclassedWindow::FromHandle(HWND hwnd)
{
    return hwnd != nullptr ? static_cast<CSubclassedWindow*>(GetPropA(hwnd, ObjectProperty)) : nullptr;
}

bool CSubclassedWindow::OnReflectedMessage(UINT, WPARAM, LPARAM, LRESULT*)
{
    return false;
}

LRESULT CSubclassedWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallOriginalProc(message, wParam, lParam);
}

LRESULT CSubclassedWindow::CallOriginalProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(m_originalProc, m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CSubclassedWindow::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CSubclassedWindow* self = FromHandle(hwnd);
    if (self == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WNDPROC original = self->m_originalProc;
        self->Unsubclass();
        return CallWindowProcA(original, hwnd, message, wParam, lParam);
    }
    return self->WindowProc(message, wParam, lParam);
}

bool ReflectToControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    CSubclassedWindow* object = CSubclassedWindow::FromHandle(control);
    return object != nullptr && object->OnReflectedMessage(message, wParam, lParam, result);
}
