#pragma once
// IDispatch over a type information, shared by the driver object and its channel maps.
#include <oaidl.h>

namespace tambre::codriver {

// Each object has one type information.
HRESULT dispatch_type_info_count(UINT* count);
HRESULT dispatch_type_info(ITypeInfo* info, UINT index, ITypeInfo** out);
HRESULT dispatch_ids_of_names(ITypeInfo* info, LPOLESTR* names, UINT count, DISPID* ids);
HRESULT dispatch_invoke(ITypeInfo* info, void* object, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* arg_error);

}  // namespace tambre::codriver
