// The texts users see in message boxes, word for word as the product has always shown
// them, spelling included: the other tests compare with these constants, this one pins them.
#include <gtest/gtest.h>

#include <string>

#include "app/MainWindowRule.h"
#include "auth/AuthWorker.h"
#include "pages/ProfileEditorModel.h"
#include "pages/WepKeyEntry.h"

namespace hx {
namespace {

TEST(SpecifiedTexts, AreShownExactlyAsWritten) {
    const struct { const char* shown; const char* written; } texts[] = {
        {kPassphraseLengthMessage, "Length of Passphase must between 8 to 63"},
        {kProfileNameUsedMessage, "Profile name has been used\n Please change a new one"},
        {kProfileNameEmptyMessage, "Profile name is empty"},
        {kCertificateExportFailureText,
         "Can not Export Private Key!! Please make the private key of this certifacate EXPORTABLE!"},
        {kZeroConfigurationMessage, "Wireless LAN is Controlled by the Windows Zero Configuration"},
    };
    for (const auto& t : texts) EXPECT_EQ(std::string(t.shown), t.written);
}

}  // namespace
}  // namespace hx
