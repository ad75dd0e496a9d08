' The stand-in component through a real automation client: wine's VBScript host.
' The script host does not pass WScript.Quit codes on, so the outcome is what this prints:
' "ALL OK" at the end, or lines with "FAIL".
Option Explicit
Dim c, port, r, i, failures
failures = 0

Sub Check(name, actual, expected)
  If actual = expected Then
    WScript.Echo "ok   " & name
  Else
    WScript.Echo "FAIL " & name & ": got " & actual & ", expected " & expected
    failures = failures + 1
  End If
End Sub

Set c = CreateObject("AddIn.CipherLab9x00")
c.Initial
Check "initial port", c.Port, 5000
Check "initial delay", c.Delay, 5000
Check "initial delimiter", c.Delimiter, 59
Check "port is a Long", TypeName(c.Port), "Long"
c.Delay = 2500
Check "delay", c.Delay, 2500
c.Delimiter = 124
Check "delimiter", c.Delimiter, 124
Check "error code before anything", c.ErrorCode, 0

c.Port = 0
Check "attach on port 0", c.Attach(), 0
Check "error code after a failed attach", c.ErrorCode, 14
Check "error description is text", TypeName(c.ErrorDescription), "String"

Randomize
r = 0
For i = 1 To 20
  port = 20000 + Int(Rnd * 30000)
  c.Port = port
  r = c.Attach()
  If r = 1 Then Exit For
Next
Check "attach", r, 1
Check "attach result is a Long", TypeName(r), "Long"
Check "port kept", c.Port, port
Check "error code after attach", c.ErrorCode, 0
c.Detach
Check "error code after detach", c.ErrorCode, 0
c.Realize
Set c = Nothing

If failures = 0 Then
  WScript.Echo "ALL OK"
Else
  WScript.Echo failures & " checks FAILED"
End If
