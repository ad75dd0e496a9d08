#include "framework/Dialog.h"

#include <exception>

#include "framework/Application.h"
#include "framework/DataExchange.h"
#include "framework/WindowText.h"

namespace morvane {

HINSTANCE CDialog::s_resources = nullptr;

HINSTANCE CDialog::ResourceInstance() {
  return s_resources ? s_resources : ::GetModuleHandleW(nullptr);
}

CDialog::~CDialog() {
  // A window that outlives its object would route messages into freed memory.
  if (m_hWnd) {
    ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
    ::DestroyWindow(m_hWnd);
  }
}

HWND CDialog::Create(HWND parent) {
  return ::CreateDialogParamW(ResourceInstance(), MAKEINTRESOURCEW(m_templateId), parent,
                              &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

namespace {

// The style written in a dialog template, in either of its two layouts.
DWORD TemplateStyle(HINSTANCE instance, UINT templateId) {
  HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
  HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
  const auto* words = loaded ? static_cast<const WORD*>(::LockResource(loaded)) : nullptr;
  if (!words || ::SizeofResource(instance, found) < 16) return 0;
  DWORD style = 0;
  // DLGTEMPLATEEX starts with version 1 and the signature 0xFFFF; its style follows the help id
  // and the extended style.
  const bool extended = words[0] == 1 && words[1] == 0xFFFF;
  ::CopyMemory(&style, extended ? words + 6 : words, sizeof style);
  return style;
}

}  // namespace

INT_PTR CDialog::DoModal(HWND parent) {
  if (!Create(parent)) return -1;
  const bool disableParent = parent && ::IsWindowEnabled(parent);
  if (disableParent) ::EnableWindow(parent, FALSE);

  // As the system's own modal run does, a dialog whose template is not visible is shown once the
  // messages its initialisation posted are handled: when the queue first runs empty, or when only
  // the low-priority timer and paint messages are left.
  bool showPending = !(TemplateStyle(ResourceInstance(), m_templateId) & WS_VISIBLE);
  const auto showOnce = [&] {
    showPending = false;
    if (m_hWnd && !::IsWindowVisible(m_hWnd)) {
      ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
      ::UpdateWindow(m_hWnd);
    }
  };

  m_modalRunning = true;
  m_modalResult = IDCANCEL;
  MSG msg;
  while (m_modalRunning) {
    if (showPending && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) showOnce();
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // WM_QUIT belongs to an outer loop: leave it there.
      if (got == 0) ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (showPending && (msg.message == WM_TIMER || msg.message == WM_PAINT)) showOnce();
    if (CApplication* app = CApplication::Current(); app && app->PreTranslateMessage(&msg)) {
      continue;
    }
    if (PreTranslateMessage(&msg)) continue;
    if (m_hWnd && ::IsDialogMessageW(m_hWnd, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  m_modalRunning = false;

  // The parent gets the activation back before this window goes.
  if (disableParent) ::EnableWindow(parent, TRUE);
  if (m_hWnd) DestroyWindow();
  return m_modalResult;
}

void CDialog::EndDialog(INT_PTR result) {
  m_modalResult = result;
  if (m_modalRunning) {
    m_modalRunning = false;
    // Wakes the loop if the call came from outside a message.
    ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
  } else if (m_hWnd) {
    DestroyWindow();
  }
}

void CDialog::DestroyWindow() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

std::wstring CDialog::ItemText(int id) const {
  return WindowText(Item(id));
}

void CDialog::SetItemText(int id, const std::wstring& text) const {
  ::SetDlgItemTextW(m_hWnd, id, text.c_str());
}

void CDialog::SetMsgResult(LRESULT result) const {
  ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
}

INT_PTR CDialog::RouteMessage(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return FALSE;
}

bool CDialog::OnCommand(WORD id, WORD, HWND) {
  if (id == IDOK) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

bool CDialog::OnNotify(int, NMHDR*, LRESULT&) {
  return false;
}

void CDialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

bool CDialog::DoDataExchange(DataExchange&) {
  return true;
}

bool CDialog::UpdateData(bool save) {
  DataExchange dx(m_hWnd, save);
  return DoDataExchange(dx) && !dx.Failed();
}

bool CDialog::PreTranslateMessage(MSG*) {
  return false;
}

namespace {

void ReportEscapedException(const char* what) {
  ::OutputDebugStringA("dialog handler threw: ");
  ::OutputDebugStringA(what);
  ::OutputDebugStringA("\n");
}

}  // namespace

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialog*>(lParam);
    ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    self->m_hWnd = hwnd;
  } else {
    self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (!self) return FALSE;

  // The barrier: an exception must never unwind through the system's dispatching code.
  INT_PTR result = FALSE;
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& e) {
    ReportEscapedException(e.what());
    result = FALSE;
  } catch (...) {
    ReportEscapedException("unknown exception");
    result = FALSE;
  }

  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->m_hWnd = nullptr;
    if (self->m_modalRunning) {
      // Destroyed from outside (its owner went at log-off): the modal run ends as if cancelled,
      // and a thread message wakes a loop that may be waiting in GetMessage.
      self->m_modalRunning = false;
      self->m_modalResult = IDCANCEL;
      ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
    }
    self->OnDestroyed();  // may delete self
  }
  return result;
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return OnInit();

  bool handled = false;
  INT_PTR result = RouteMessage(message, wParam, lParam, handled);
  if (handled) return result;

  if (message == WM_COMMAND) {
    return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
  }
  if (message == WM_NOTIFY && lParam) {
    LRESULT notifyResult = 0;
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (OnNotify(static_cast<int>(header->idFrom), header, notifyResult)) {
      SetMsgResult(notifyResult);
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace morvane
