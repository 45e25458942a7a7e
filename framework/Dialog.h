// Dialogs on numbered templates, with a table from commands and messages to
// handlers. A dialog is modal (DoModal), modeless top-level or a child panel
// (Create); the three differ only in what OK and Cancel do:
//   modal     ends the dialog with IDOK / IDCANCEL,
//   modeless  hides the window,
//   child     nothing, so Enter and Escape inside a panel have no effect.
#pragma once

#include "framework/DataExchange.h"

#include <windows.h>

#include <cstddef>
#include <string>

class CDialog;

// One row of a message table. Each kind has one handler signature:
//   command, command range  void Handler()  / void Handler(UINT id)
//   notify                  void Handler(NMHDR* header, LRESULT* result)
//   message                 LRESULT Handler(WPARAM, LPARAM)
struct MessageEntry {
    enum Kind { Message, Command, CommandRange, Notify };
    Kind kind;
    UINT message;     // Message: the window message
    UINT code;        // Command, Notify: notification code
    UINT idFirst;     // control or command id
    UINT idLast;
    void (CDialog::*onCommand)();
    void (CDialog::*onCommandId)(UINT);
    void (CDialog::*onNotify)(NMHDR*, LRESULT*);
    LRESULT (CDialog::*onMessage)(WPARAM, LPARAM);
};

struct MessageTable {
    const MessageTable* base;
    const MessageEntry* entries;
    size_t count;
};

namespace message_table {

// A command entry matches notification code `code`; for code 0 (menu item,
// button click) it also matches accelerators (code 1).
template <class T>
MessageEntry CommandEntry(UINT code, UINT id, void (T::*handler)())
{
    MessageEntry e{};
    e.kind = MessageEntry::Command;
    e.code = code;
    e.idFirst = e.idLast = id;
    e.onCommand = static_cast<void (CDialog::*)()>(handler);
    return e;
}

template <class T>
MessageEntry CommandRangeEntry(UINT first, UINT last, void (T::*handler)(UINT))
{
    MessageEntry e{};
    e.kind = MessageEntry::CommandRange;
    e.idFirst = first;
    e.idLast = last;
    e.onCommandId = static_cast<void (CDialog::*)(UINT)>(handler);
    return e;
}

template <class T>
MessageEntry NotifyEntry(UINT code, UINT id, void (T::*handler)(NMHDR*, LRESULT*))
{
    MessageEntry e{};
    e.kind = MessageEntry::Notify;
    e.code = code;
    e.idFirst = e.idLast = id;
    e.onNotify = static_cast<void (CDialog::*)(NMHDR*, LRESULT*)>(handler);
    return e;
}

template <class T>
MessageEntry MessageHandlerEntry(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM))
{
    MessageEntry e{};
    e.kind = MessageEntry::Message;
    e.message = message;
    e.onMessage = static_cast<LRESULT (CDialog::*)(WPARAM, LPARAM)>(handler);
    return e;
}

} // namespace message_table

#define DECLARE_MESSAGE_TABLE()                                   \
protected:                                                        \
    const MessageTable* GetMessageTable() const override;         \
                                                                  \
public:                                                           \
    static const MessageTable* ClassMessageTable();

#define BEGIN_MESSAGE_TABLE(theClass, baseClass)                                   \
    const MessageTable* theClass::GetMessageTable() const { return ClassMessageTable(); } \
    const MessageTable* theClass::ClassMessageTable()                              \
    {                                                                              \
        using ThisClass [[maybe_unused]] = theClass;                                             \
        using BaseClass = baseClass;                                               \
        static const MessageEntry entries[] = {

#define ON_COMMAND(id, handler) message_table::CommandEntry<ThisClass>(0, id, &ThisClass::handler),
#define ON_CONTROL(code, id, handler) message_table::CommandEntry<ThisClass>(code, id, &ThisClass::handler),
#define ON_BN_CLICKED(id, handler) ON_CONTROL(BN_CLICKED, id, handler)
#define ON_COMMAND_RANGE(first, last, handler) \
    message_table::CommandRangeEntry<ThisClass>(first, last, &ThisClass::handler),
#define ON_NOTIFY(code, id, handler) message_table::NotifyEntry<ThisClass>(code, id, &ThisClass::handler),
#define ON_MESSAGE(message, handler) message_table::MessageHandlerEntry<ThisClass>(message, &ThisClass::handler),

#define END_MESSAGE_TABLE()                                                          \
    };                                                                               \
    static const MessageTable table{BaseClass::ClassMessageTable(), entries,         \
                                    sizeof(entries) / sizeof(entries[0])};           \
    return &table;                                                                   \
    }

class CDialog {
public:
    enum class Mode { None, Modal, Modeless, Child };

    explicit CDialog(UINT templateId);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally, its owner disabled meanwhile; returns the value
    // passed to EndDialog, or -1 when the template cannot be loaded. The window
    // is destroyed when the loop ends.
    INT_PTR DoModal(HWND parent = nullptr);
    // Creates the dialog modeless: a child panel when its template has the
    // WS_CHILD style, else a top-level dialog. Returns false on failure.
    bool Create(HWND parent = nullptr);

    HWND GetSafeHwnd() const { return m_hwnd; }
    operator HWND() const { return m_hwnd; }
    UINT TemplateId() const { return m_templateId; }
    Mode GetMode() const { return m_mode; }

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hwnd, id); }
    std::string GetItemText(int id) const;
    void SetItemText(int id, const std::string& text) const;
    bool ShowWindow(int command) const { return ::ShowWindow(m_hwnd, command) != FALSE; }

    // Ends a modal dialog; for a modeless one, hides it.
    void EndDialog(INT_PTR result);
    // Runs DoDataExchange: controls to members when saving, else the reverse.
    bool UpdateData(bool saveAndValidate = true);

    static const MessageTable* ClassMessageTable();

protected:
    // Default: members to controls, focus left to the dialog manager.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange& dx);
    // Called for WM_DESTROY, before the window is unbound.
    virtual void OnDestroy() {}
    // Sees every message after WM_INITDIALOG before the message table does;
    // return true (with *result) to take it, false to let it go on.
    virtual bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual const MessageTable* GetMessageTable() const;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool DispatchCommand(UINT code, UINT id);
    bool DispatchNotify(NMHDR* header, LRESULT* result);
    bool DispatchMessageEntry(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void Unbind();

    UINT m_templateId;
    HWND m_hwnd = nullptr;
    Mode m_mode = Mode::None;
    bool m_modalEnded = false;
    INT_PTR m_modalResult = -1;
};

// Gives dialogs their keyboard handling (Tab, Enter, Escape) in a message
// loop; true when the message was taken.
bool PreTranslateDialogMessage(MSG* msg);
