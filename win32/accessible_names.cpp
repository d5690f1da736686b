// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "accessible_names.h"

#include <objbase.h>
// The interface's identifiers are defined here, once.
#include <initguid.h>
// After initguid.h:
#include <oleacc.h>

namespace win {

void setAccessibleName(HWND control, const std::wstring& name) {
    // One service for the program's life; COM is started on this thread by the pictures.
    static IAccPropServices* const service = [] {
        IAccPropServices* made = nullptr;
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, reinterpret_cast<void**>(&made))))
            return static_cast<IAccPropServices*>(nullptr);
        return made;
    }();
    if (service != nullptr)
        service->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                PROPID_ACC_NAME, name.c_str());
}

}  // namespace win
