// A program whose main form cannot be created: one of its stored components fails in its
// constructor, as a component whose library is missing does. The start-up error display
// shows the message and the program ends with exit code 1, without showing the form.
#include <windows.h>

#include "classlib/TypeInfo.h"
#include "classlib/controls/Controls.h"
#include "classlib/forms/Application.h"
#include "classlib/forms/Form.h"
#include "classlib/graphics/Graphics.h"

namespace {

class TFailingComponent : public TComponent {
public:
    explicit TFailingComponent(TComponent* owner) : TComponent(owner)
    {
        throw Exception("cdrip.dll could not be loaded.");
    }
};

class TStartupForm : public TForm {
public:
    explicit TStartupForm(TComponent* owner) : TForm(owner)
    {
        SetFallbackDescription("object StartupForm: TStartupForm\n"
                               "  Caption = 'Never shown'\n"
                               "  OnCreate = FormCreate\n"
                               "  object CDIn1: TFailingComponent\n"
                               "  end\n"
                               "end\n");
    }
    void FormCreate(TComponent*) { MessageBoxW(nullptr, L"OnCreate ran", L"Wrong", MB_OK); }
};

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    TApplication application;
    application.Initialize();
    application.SetTitle("Startup Test");
    RegisterGraphicsClasses(Classes());
    RegisterControlClasses(Classes());
    Classes().Register<TFailingComponent, TComponent>("TFailingComponent");
    Classes().Register<TStartupForm, TForm>("TStartupForm").Method("FormCreate", &TStartupForm::FormCreate);
    TStartupForm* form = nullptr;
    application.CreateForm(form);
    application.Run();
    return application.ExitCode();
}
