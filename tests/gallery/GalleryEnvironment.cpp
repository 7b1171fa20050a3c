// One application object and every class registered for the whole run.
#include <gtest/gtest.h>

#include "classlib/forms/Application.h"
#include "tools/gallery/GalleryForm.h"

namespace {
class GalleryEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        RegisterGalleryClasses();
        application_ = new TApplication();
        application_->Initialize();
        application_->SetTitle("Kestrip-Gallery-Test");
    }
    void TearDown() override { delete application_; }

private:
    TApplication* application_ = nullptr;
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new GalleryEnvironment);
} // namespace
