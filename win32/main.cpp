// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// ポルネア on Windows: a division drill for young learners.

#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <objbase.h>

#include "form1.h"
#include "form2.h"
#include "mixing_random.h"
#include "sound_control.h"
#include "system_clock.h"
#include "win_dialogs.h"
#include "win_records.h"
#include "working_folder.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    win::WinDialogs dialogs;
    win::WinRecords records(win::startInWorkingFolder(dialogs));
    win::SystemClock clock;
    drill::MixingRandom random;
    win::Form2 results;
    int status = 0;
    {
        win::SoundControl sound;  // MMControl1
        win::Form1 form1(
            {sound, dialogs, clock, random, records, results, [&sound] { sound.prepare(); }});
        dialogs.setOwner(form1.hwnd());
        form1.show();

        MSG message;
        BOOL got = FALSE;
        while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
            if (got == -1) {
                status = 1;
                break;
            }
            if (form1.takeKey(message))
                continue;
            HWND top = GetAncestor(message.hwnd, GA_ROOT);
            if (top != nullptr && (top == form1.hwnd() || top == results.hwnd()) &&
                IsDialogMessageW(top, &message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (got == 0)
            status = static_cast<int>(message.wParam);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return status;
}
