#pragma once
#include "classlib/controls/WinControl.h"

enum TUDOrientation { udHorizontal, udVertical };

// Two arrow buttons that move Position between Min and Max. With an Associate (a text box
// usually) the position is shown in it. OnClick runs after the user moved the position.
class TUpDown : public TWinControl {
public:
    explicit TUpDown(TComponent* owner);

    TWinControl* Associate() const { return associate_; }
    void SetAssociate(TWinControl* value);
    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Position() const;
    void SetPosition(int value);
    int Increment() const { return increment_; }
    void SetIncrement(int value);
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation value);
    bool Wrap() const { return wrap_; }
    void SetWrap(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void SaveWndState() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TWinControl* associate_ = nullptr;
    int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
    TUDOrientation orientation_ = udVertical;
    bool wrap_ = false;
};
