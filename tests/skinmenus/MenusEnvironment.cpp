// One application object and every class registered for the whole run.
#include <gtest/gtest.h>

#include <memory>

#include "classlib/forms/Application.h"
#include "skin/SkinEngine.h"
#include "tools/gallery/GalleryForm.h"

namespace {
class MenusEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        RegisterGalleryClasses();
        RegisterSkinEngine(Classes());
        application_ = std::make_unique<TApplication>();
        application_->Initialize();
        application_->SetTitle("Skinned menu tests");
    }
    void TearDown() override { application_.reset(); }

private:
    std::unique_ptr<TApplication> application_;
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new MenusEnvironment);
} // namespace
