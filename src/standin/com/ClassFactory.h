#pragma once
// Makes CipherLab objects for CoCreateInstance.
#include <unknwn.h>

#include <atomic>

namespace morvane::standin {

class ClassFactory : public IClassFactory {
 public:
  ClassFactory();
  virtual ~ClassFactory();
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  std::atomic<ULONG> refs_{1};
};

}  // namespace morvane::standin
