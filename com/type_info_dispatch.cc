#include "com/type_info_dispatch.h"

#include "com/module_state.h"
#include "com/vordo_idl.h"

namespace vordo {
namespace {

constexpr WORD kLibraryMajor = 1;
constexpr WORD kLibraryMinor = 0;

}  // namespace

HRESULT LoadModuleTypeInfo(REFGUID interface_id, ITypeInfo** info) {
  *info = nullptr;
  ITypeLib* library = nullptr;
  HRESULT result = LoadRegTypeLib(LIBID_VORDOLib, kLibraryMajor, kLibraryMinor, LOCALE_NEUTRAL, &library);
  if (FAILED(result)) result = LoadTypeLibEx(ModulePathW().c_str(), REGKIND_NONE, &library);
  if (FAILED(result)) return result;
  result = library->GetTypeInfoOfGuid(interface_id, info);
  library->Release();
  return result;
}

}  // namespace vordo
