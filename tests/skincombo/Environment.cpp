// One application, the gallery's and the skin engine's classes for the whole run.
#include <gtest/gtest.h>

#include <memory>

#include "classlib/forms/Application.h"
#include "skin/SkinEngine.h"
#include "tools/gallery/GalleryForm.h"

void RegisterComboTestClasses();

namespace {
class ComboEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        RegisterGalleryClasses();
        RegisterSkinEngine(Classes());
        RegisterComboTestClasses();
        application_ = std::make_unique<TApplication>();
        application_->Initialize();
        application_->SetTitle("Combo tests");
    }
    void TearDown() override
    {
        ShutdownSkinEngine();
        application_.reset();
    }

private:
    std::unique_ptr<TApplication> application_;
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new ComboEnvironment);
} // namespace
