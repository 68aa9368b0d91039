#include "wizard/wizard_error_text.h"

std::wstring& WizardErrorText() {
    static std::wstring text;
    return text;
}
