#pragma once
#include <memory>

#include "classlib/Strings.h"
#include "classlib/controls/WinControl.h"

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// A combo box over the system COMBOBOX class. Items live in a string list the control keeps
// (so they survive a new window); the window follows every change. Choosing an item runs
// OnSelect when it is set, else OnChange; editing the text of a csDropDown box runs OnChange.
class TCustomComboBox : public TWinControl {
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* value);
    int ItemIndex() const;
    void SetItemIndex(int value);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value) { dropDownCount_ = value; }
    bool DroppedDown() const;
    void SetDroppedDown(bool value);

    void SetBounds(int left, int top, int width, int height) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void SaveWndState() override;
    void WndProc(TMessage& message) override;
    std::string GetText() const override;
    void SetText(const std::string& value) override;
    void Loaded() override;
    virtual void Change();
    virtual void Select();

private:
    void ItemsChanged();
    void FillWindow();

    std::unique_ptr<TStringList> items_;
    int itemIndex_ = -1;
    TComboBoxStyle style_ = csDropDown;
    int dropDownCount_ = 8;
    bool filling_ = false;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
};
