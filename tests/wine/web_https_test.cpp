// The https row's fetch against servers on loopback started around this test
// (scripts/isolated-run): one the system trusts, one self-signed, one for another name.
#include "checks/web_check.h"
#include "checks/web_fetch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace skelvane::test {
namespace {

std::wstring PageOn(int port) {
    return L"https://localhost:" + std::to_wstring(port) + kDataPagePath;
}

class WebHttps : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* ports = std::getenv("SKELVANE_HTTPS_PORTS");
        ASSERT_TRUE(ports) << "run through scripts/isolated-run with SKELVANE_HTTPS_PORTS";
        std::istringstream(ports) >> trusted_ >> untrusted_ >> wrongHost_;
    }
    int trusted_ = 0, untrusted_ = 0, wrongHost_ = 0;
};

TEST_F(WebHttps, TrustedCertificatePasses) {
    const CheckResult r = FetchAndSearch(PageOn(trusted_), kDataPageMarker, 20000);
    EXPECT_TRUE(r.passed) << std::string(r.reason.begin(), r.reason.end());
}

TEST_F(WebHttps, CertificateErrorsAreNeverIgnored) {
    for (int port : {untrusted_, wrongHost_}) {
        const FetchResult r = FetchAndFind(PageOn(port), "GetCardDetailsByGuid", 20000);
        EXPECT_EQ(r.outcome, FetchOutcome::TransportError) << port;
        EXPECT_NE(r.error, 0u);
    }
}

TEST_F(WebHttps, NoDowngradeToPlainHttp) {
    // The same server spoken to in plain http is no https page.
    const std::wstring plain = L"http://localhost:" + std::to_wstring(trusted_) + kDataPagePath;
    EXPECT_FALSE(FetchAndSearch(plain, kDataPageMarker, 5000).passed);
}

} // namespace
} // namespace skelvane::test
