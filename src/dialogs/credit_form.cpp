#include "dialogs/credit_form.h"

namespace gyrel {

const char* CreditForm::contactText() {
    return "GYREL cam encoder set-up utility\r\n"
           "Service: contact the supplier of your encoder\r\n"
           "and quote the version shown above.";
}

const char* const kVersionText = "SW KRT71 Rev " GYREL_VERSION;

void CreditForm::aarelease() { ctx_.about.versionText = kVersionText; }

void CreditForm::show() {
    if (ctx_.about.contactText.empty()) ctx_.about.contactText = contactText();
    ctx_.about.visible = true;
}

}  // namespace gyrel
