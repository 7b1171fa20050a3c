// One application, the gallery's classes and the skin engine's for every test of the program.
#include <gtest/gtest.h>

#include <memory>

#include "classlib/TypeInfo.h"
#include "classlib/forms/Application.h"
#include "skin/SkinEngine.h"
#include "tools/gallery/GalleryForm.h"

namespace {
class ScrollEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        RegisterGalleryClasses();
        RegisterSkinEngine(Classes());
        application_ = std::make_unique<TApplication>();
        application_->Initialize();
        application_->SetTitle("Scroll bar tests");
    }
    void TearDown() override
    {
        ShutdownSkinEngine();
        application_.reset();
    }

private:
    std::unique_ptr<TApplication> application_;
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new ScrollEnvironment);
} // namespace
