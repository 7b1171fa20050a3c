#pragma once
#include <memory>
#include <vector>

#include "classlib/Strings.h"
#include "classlib/extctrls/GroupBox.h"

class TRadioButton;

// A group box holding one radio button per line of Items, in Columns columns. ItemIndex is
// the checked one (-1: none); OnClick runs when the user picks one.
class TRadioGroup : public TCustomGroupBox {
public:
    explicit TRadioGroup(TComponent* owner);
    ~TRadioGroup() override;

    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* value);
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int value);
    int Columns() const { return columns_; }
    void SetColumns(int value);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TRadioButton* Buttons(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }

protected:
    void BoundsChanged() override;
    void FontChanged() override;

private:
    void UpdateButtons();
    void ArrangeButtons();

    std::unique_ptr<TStringList> items_;
    std::vector<TRadioButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};
