#include "standin/com/ClassFactory.h"

#include <new>

#include "standin/com/CipherLabObject.h"
#include "standin/com/ModuleState.h"

namespace morvane::standin {

ClassFactory::ClassFactory() {
  ObjectCreated();
}

ClassFactory::~ClassFactory() {
  ObjectDestroyed();
}

HRESULT ClassFactory::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (::IsEqualIID(iid, IID_IUnknown) || ::IsEqualIID(iid, IID_IClassFactory)) {
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG ClassFactory::AddRef() {
  return ++refs_;
}

ULONG ClassFactory::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  CipherLabObject* object = nullptr;
  try {
    object = new CipherLabObject();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  const HRESULT hr = object->QueryInterface(iid, out);
  object->Release();
  return hr;
}

HRESULT ClassFactory::LockServer(BOOL lock) {
  LockModule(lock != FALSE);
  return S_OK;
}

}  // namespace morvane::standin
