#include "GuiTestEnvironment.h"

#include <gtest/gtest.h>

#include "classlib/TypeInfo.h"
#include "classlib/controls/Controls.h"
#include "classlib/forms/Application.h"
#include "classlib/graphics/Graphics.h"

namespace {

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        RegisterGraphicsClasses(Classes());
        RegisterControlClasses(Classes());
        application_ = new TApplication();
        application_->Initialize();
        application_->SetTitle(kTestTitle);
    }
    void TearDown() override
    {
        delete application_;
    }

private:
    TApplication* application_ = nullptr;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

} // namespace
