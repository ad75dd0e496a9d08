#pragma once
// The component's automation names: what each is (method, readable or writable property), its
// parameters, and the checks IDispatch::Invoke makes before anything runs.
#include <oaidl.h>
#include <windows.h>

namespace morvane::standin {

enum class DispId : DISPID {
  kInitial = 1,
  kRealize,
  kWiFi,
  kRegisterHWNDWindow,
  kPort,
  kDelay,
  kDelimiter,
  kAttach,
  kDetach,
  kSendFile,
  kGetFile,
  kErrorCode,
  kErrorDescription,
  kDeleteUploadedData,
};

enum MemberKind : unsigned {
  kMethod = 1,
  kGet = 2,
  kPut = 4,
};

struct Member {
  const wchar_t* name;
  DispId id;
  unsigned kinds;     // MemberKind bits
  UINT paramCount;    // methods: positional parameters; property puts take one value
  VARTYPE params[4];  // in the component's order; a put's value type is params[0]
};

// Names compare without regard to letter case, as automation clients expect.
const Member* FindMember(const wchar_t* name);
const Member* FindMember(DISPID id);

// The kind the caller's invocation flags ask for, or 0 when the member has no such kind.
// A property may also be read with DISPATCH_METHOD, as scripting clients do.
unsigned SelectKind(const Member& member, WORD flags);

// Argument count and named-argument rules for that kind.
HRESULT CheckParams(const Member& member, unsigned kind, const DISPPARAMS& params);

// Parameter index (component order) as the type the member takes, coerced with
// VariantChangeType; by-reference arguments are followed. On failure argError gets the slot.
HRESULT ArgumentAs(const DISPPARAMS& params, UINT index, VARTYPE type, VARIANT& out,
                   UINT* argError);

}  // namespace morvane::standin
