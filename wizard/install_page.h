#pragma once
// The page shown while the downloaded installers run.

#include "platform/event.h"
#include "platform/unique_resource.h"
#include "wizard/wizard_page.h"

class CInstallPage : public CWizardPage<CInstallPage> {
public:
    enum { IDD = IDD_INSTALL };

    CInstallPage();
    static std::span<const RightResizeEntry> RightResizeTable();

    BOOL OnSetActive();
    BOOL OnKillActive();
    BOOL OnQueryCancel();

protected:
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) override;

private:
    void StartRun();
    void ShowElapsedTime() const;

    UINT_PTR timer_ = 0;
    DWORD startTick_ = 0;
    platform::UniqueHandle thread_;
    platform::Event cancel_{platform::Event::Reset::Manual, false};
};
