#pragma once
// The page template of every wizard page: the dialog template is taken from the first resource
// module that has it (the satellite before the executable, in the selected language, then US
// English, then neutral), so a satellite that lacks a page still shows it in English.

#include "platform/property_sheet.h"
#include "platform/resource_modules.h"
#include "platform/resource_strings.h"

template <typename T, typename TBase = platform::CPropertyPageWindow>
class CLocalizedPropertyPageImpl : public platform::CPropertyPageImpl<T, TBase> {
public:
    // `titleId`: the page title's string number (0 for none), read from the template's module.
    explicit CLocalizedPropertyPageImpl(UINT titleId = 0)
        : platform::CPropertyPageImpl<T, TBase>(titleId) {
        this->m_psp.hInstance = platform::FindResourceModule(RT_DIALOG, MAKEINTRESOURCEW(T::IDD));
        this->m_psp.dwFlags &= ~PSP_HASHELP;
    }

protected:
    // Exterior pages (introduction, install, error) show the watermark and no header.
    void UseExteriorLayout() { this->m_psp.dwFlags |= PSP_HIDEHEADER; }

    // Interior pages show the header with these two texts, read now from the string cache.
    void UseInteriorLayout(UINT headerTitleId, UINT headerSubTitleId) {
        this->m_psp.dwFlags |= PSP_USEHEADERTITLE | PSP_USEHEADERSUBTITLE;
        this->m_psp.pszHeaderTitle = platform::ResourceString(headerTitleId).c_str();
        this->m_psp.pszHeaderSubTitle = platform::ResourceString(headerSubTitleId).c_str();
    }
};
