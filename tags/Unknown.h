// COM-style plumbing of the tag layer in plain C++: result codes, interface
// ids and the reference-counted base interface. Objects start with a count
// of 1, AddRef/Release change it atomically, and an object deletes itself
// when Release brings the count to 0. Nothing here needs a COM runtime.
#pragma once

#include <cstdint>
#include <cstring>

using HRESULT = int32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

// A 128-bit interface id, laid out as the usual GUID record.
struct InterfaceId {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
  bool operator==(const InterfaceId& other) const {
    return data1 == other.data1 && data2 == other.data2 && data3 == other.data3 &&
           std::memcmp(data4, other.data4, sizeof data4) == 0;
  }
};

// {00000000-0000-0000-C000-000000000046}
inline constexpr InterfaceId IID_IUnknown = {0x00000000, 0x0000, 0x0000,
                                             {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

class IUnknown {
 public:
  // S_OK and an added reference in *object for a supported id; otherwise
  // E_NOINTERFACE and *object set to null.
  virtual HRESULT QueryInterface(const InterfaceId& iid, void** object) = 0;
  virtual uint32_t AddRef() = 0;
  // Returns the new count; at 0 the object is gone.
  virtual uint32_t Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};
