// The calling thread's place in a COM apartment while this object lives.
// A thread that already has one (the Qt user-interface thread does) keeps
// it and only counts one more user; any other thread gets a
// single-threaded apartment. Users link ole32.
#pragma once

#include <objbase.h>

namespace vellonix::win32 {

class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  // A thread already in a multithreaded apartment is answered
  // RPC_E_CHANGED_MODE: nothing was added, so nothing is undone.
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

}  // namespace vellonix::win32
