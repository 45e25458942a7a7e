#include "framework/Dialog.h"

#include "framework/App.h"
#include "framework/Subclass.h"
#include "framework/Window.h"

namespace {

HINSTANCE ResourceModule()
{
    CApplication* app = GetApp();
    return app != nullptr && app->Instance() != nullptr ? app->Instance() : GetModuleHandleA(nullptr);
}

// Messages whose result a dialog procedure returns itself instead of through
// DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

// The control a message comes from, for those that controls may handle
// themselves (owner drawing, colours, their own notifications).
HWND ReflectedControl(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM:
        return wParam != 0 ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lParam);
    default:
        return nullptr;
    }
}

} // namespace

const MessageTable* CDialog::ClassMessageTable()
{
    static const MessageTable table{nullptr, nullptr, 0};
    return &table;
}

const MessageTable* CDialog::GetMessageTable() const
{
    return ClassMessageTable();
}

CDialog::CDialog(UINT templateId) : m_templateId(templateId) {}

CDialog::~CDialog()
{
    // Unbind first so that no message reaches a half-destroyed object.
    if (m_hwnd != nullptr) {
        HWND hwnd = m_hwnd;
        const Mode mode = m_mode;
        Unbind();
        if (mode == Mode::Modeless || mode == Mode::Child)
            DestroyWindow(hwnd);
    }
}

INT_PTR CDialog::DoModal(HWND parent)
{
    // A modal loop of our own rather than DialogBoxParam: the system's dialog
    // box shows the window again when its queue first runs empty, so a window
    // that hides itself at start-up would come back.
    HWND owner = parent != nullptr ? GetAncestor(parent, GA_ROOT) : nullptr;
    const bool disableOwner = owner != nullptr && IsWindowEnabled(owner);
    if (disableOwner)
        EnableWindow(owner, FALSE);
    m_mode = Mode::Modal;
    m_modalEnded = false;
    m_modalResult = -1;
    HWND hwnd = CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(m_templateId), parent, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
    if (hwnd != nullptr) {
        // A template without WS_VISIBLE is shown once the queue first runs empty.
        bool showWhenIdle = !IsWindowVisible(hwnd);
        MSG msg;
        while (!m_modalEnded && IsWindow(hwnd)) {
            if (showWhenIdle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                ::ShowWindow(hwnd, SW_SHOWNORMAL);
                showWhenIdle = false;
            }
            const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (got == -1)
                break;
            if (!PreTranslateDialogMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (IsWindow(hwnd))
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    if (disableOwner)
        EnableWindow(owner, TRUE);
    if (hwnd != nullptr && IsWindow(hwnd))
        DestroyWindow(hwnd);
    m_mode = Mode::None;
    return m_modalResult;
}

bool PreTranslateDialogMessage(MSG* msg)
{
    // Keyboard navigation for whichever of our dialogs the message is for.
    HWND root = msg->hwnd != nullptr ? GetAncestor(msg->hwnd, GA_ROOT) : nullptr;
    if (root == nullptr || GetWindowLongPtrA(root, DWLP_DLGPROC) == 0)
        return false;
    return IsDialogMessageA(root, msg) != FALSE;
}

bool CDialog::Create(HWND parent)
{
    HINSTANCE module = ResourceModule();
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(m_templateId), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    if (resource == nullptr)
        return false;
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr)
        return false;
    // Extended templates (DIALOGEX) keep the style after the signature and help id.
    const WORD* words = static_cast<const WORD*>(data);
    DWORD style;
    if (words[0] == 1 && words[1] == 0xFFFF)
        style = *reinterpret_cast<const DWORD*>(words + 6);
    else
        style = *reinterpret_cast<const DWORD*>(words);
    m_mode = (style & WS_CHILD) != 0 ? Mode::Child : Mode::Modeless;
    HWND hwnd = CreateDialogParamA(module, MAKEINTRESOURCEA(m_templateId), parent, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
    if (hwnd == nullptr) {
        m_mode = Mode::None;
        return false;
    }
    return true;
}

std::string CDialog::GetItemText(int id) const
{
    return GetDlgItemTextString(m_hwnd, id);
}

void CDialog::SetItemText(int id, const std::string& text) const
{
    SetDlgItemTextString(m_hwnd, id, text);
}

void CDialog::EndDialog(INT_PTR result)
{
    if (m_mode == Mode::Modal) {
        m_modalResult = result;
        m_modalEnded = true;
        // Wakes the modal loop when this ran outside a message of its own.
        PostMessageA(m_hwnd, WM_NULL, 0, 0);
    }
    else if (m_mode == Mode::Modeless) {
        ::ShowWindow(m_hwnd, SW_HIDE);
    }
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    if (m_hwnd == nullptr)
        return false;
    CDataExchange dx(m_hwnd, saveAndValidate);
    DoDataExchange(dx);
    return true;
}

void CDialog::DoDataExchange(CDataExchange&) {}

bool CDialog::WindowProc(UINT, WPARAM, LPARAM, LRESULT*)
{
    return false;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK()
{
    if (m_mode == Mode::Child)
        return;
    if (m_mode == Mode::Modal)
        UpdateData(true);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    if (m_mode == Mode::Child)
        return;
    EndDialog(IDCANCEL);
}

void CDialog::Unbind()
{
    if (m_hwnd != nullptr)
        SetWindowLongPtrA(m_hwnd, DWLP_USER, 0);
    m_hwnd = nullptr;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CDialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lParam);
        self->m_hwnd = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (self == nullptr)
        return FALSE; // messages before WM_INITDIALOG get the default handling
    return self->Dispatch(message, wParam, lParam);
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();

    LRESULT result = 0;
    bool handled = WindowProc(message, wParam, lParam, &result);
    HWND control = handled ? nullptr : ReflectedControl(message, wParam, lParam);
    if (control != nullptr)
        handled = ReflectToControl(control, message, wParam, lParam, &result);

    if (!handled) {
        if (message == WM_COMMAND) {
            const UINT code = HIWORD(wParam);
            const UINT id = LOWORD(wParam);
            handled = DispatchCommand(code, id);
            if (!handled && (code == BN_CLICKED || code == 1) && (id == IDOK || id == IDCANCEL)) {
                if (id == IDOK)
                    OnOK();
                else
                    OnCancel();
                handled = true;
            }
        } else if (message == WM_NOTIFY) {
            handled = DispatchNotify(reinterpret_cast<NMHDR*>(lParam), &result);
        } else {
            handled = DispatchMessageEntry(message, wParam, lParam, &result);
        }
    }

    if (message == WM_DESTROY)
        OnDestroy();
    else if (message == WM_NCDESTROY)
        Unbind();

    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(result);
    if (m_hwnd != nullptr)
        SetWindowLongPtrA(m_hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

bool CDialog::DispatchCommand(UINT code, UINT id)
{
    for (const MessageTable* table = GetMessageTable(); table != nullptr; table = table->base) {
        for (size_t i = 0; i < table->count; ++i) {
            const MessageEntry& e = table->entries[i];
            if (e.kind == MessageEntry::Command && e.idFirst == id &&
                (e.code == code || (e.code == 0 && code == 1))) {
                (this->*e.onCommand)();
                return true;
            }
            if (e.kind == MessageEntry::CommandRange && (code == 0 || code == 1) && id >= e.idFirst &&
                id <= e.idLast) {
                (this->*e.onCommandId)(id);
                return true;
            }
        }
    }
    return false;
}

bool CDialog::DispatchNotify(NMHDR* header, LRESULT* result)
{
    for (const MessageTable* table = GetMessageTable(); table != nullptr; table = table->base) {
        for (size_t i = 0; i < table->count; ++i) {
            const MessageEntry& e = table->entries[i];
            if (e.kind == MessageEntry::Notify && e.code == header->code && e.idFirst == header->idFrom) {
                (this->*e.onNotify)(header, result);
                return true;
            }
        }
    }
    return false;
}

bool CDialog::DispatchMessageEntry(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    for (const MessageTable* table = GetMessageTable(); table != nullptr; table = table->base) {
        for (size_t i = 0; i < table->count; ++i) {
            const MessageEntry& e = table->entries[i];
            if (e.kind == MessageEntry::Message && e.message == message) {
                *result = (this->*e.onMessage)(wParam, lParam);
                return true;
            }
        }
    }
    return false;
}
