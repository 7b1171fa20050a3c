// One application and the skin engine's classes for every test of the program.
#include <gtest/gtest.h>

#include <memory>

#include "classlib/TypeInfo.h"
#include "classlib/controls/Controls.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/Application.h"
#include "classlib/graphics/Graphics.h"
#include "skin/SkinEngine.h"

namespace {
class WrapperEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        TClassRegistry& r = Classes();
        RegisterGraphicsClasses(r);
        RegisterControlClasses(r);
        RegisterExtControlsClasses(r);
        RegisterSkinEngine(r);
        application_ = std::make_unique<TApplication>();
        application_->Initialize();
        application_->SetTitle("Wrapper tests");
    }
    void TearDown() override
    {
        ShutdownSkinEngine();
        application_.reset();
    }

private:
    std::unique_ptr<TApplication> application_;
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new WrapperEnvironment);
} // namespace
