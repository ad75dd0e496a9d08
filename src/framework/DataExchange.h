#pragma once
// Moves values between a dialog's controls and its members, in one direction per pass:
// loading fills the controls, saving reads them back and validates. The first value that does not
// validate stops the pass: its control gets the focus and its text is selected, and later calls of
// the same pass do nothing.
#include <windows.h>

#include <string>

namespace morvane {

class DataExchange {
 public:
  DataExchange(HWND dialog, bool saving) : m_dialog(dialog), m_saving(saving) {}

  bool Saving() const { return m_saving; }
  bool Failed() const { return m_failedId != 0; }
  int FailedId() const { return m_failedId; }

  // Edit text; maxChars > 0 also limits what the user can type.
  void Text(int id, std::wstring& value, int maxChars = 0);
  // Check box or radio button: 1 when checked.
  void Check(int id, int& flag);
  // A whole number in [min, max]; a text that is not one, or is out of range, fails.
  void Int(int id, int& value, int min, int max);

  // Marks id as the failing control (for validations done by the dialog itself).
  void Fail(int id);

 private:
  bool Active() const { return m_failedId == 0; }
  HWND m_dialog;
  bool m_saving;
  int m_failedId = 0;
};

}  // namespace morvane
