#include "classlib/extctrls/RadioGroup.h"

#include "classlib/extctrls/RadioButton.h"

TRadioGroup::TRadioGroup(TComponent* owner) : TCustomGroupBox(owner), items_(std::make_unique<TStringList>())
{
    items_->OnChange = [this](TStrings&) { UpdateButtons(); };
}

TRadioGroup::~TRadioGroup()
{
    items_->OnChange = nullptr;
    for (TRadioButton* b : buttons_)
        delete b;
}

void TRadioGroup::SetItems(TStrings* value)
{
    if (value)
        items_->Assign(*value);
}

void TRadioGroup::SetItemIndex(int value)
{
    if (value < -1 || value >= items_->Count())
        value = -1;
    itemIndex_ = value;
    updating_ = true;
    for (int i = 0; i < ButtonCount(); ++i)
        buttons_[i]->SetChecked(i == value);
    updating_ = false;
}

void TRadioGroup::SetColumns(int value)
{
    columns_ = value < 1 ? 1 : value > 16 ? 16 : value;
    ArrangeButtons();
}

void TRadioGroup::UpdateButtons()
{
    while (ButtonCount() > items_->Count()) {
        delete buttons_.back();
        buttons_.pop_back();
    }
    while (ButtonCount() < items_->Count()) {
        auto* b = new TRadioButton(this);
        b->SetParent(this);
        b->OnClick = [this, b](TComponent*) {
            if (updating_)
                return;
            for (int i = 0; i < ButtonCount(); ++i)
                if (buttons_[i] == b)
                    itemIndex_ = i;
            Click();
        };
        buttons_.push_back(b);
    }
    for (int i = 0; i < ButtonCount(); ++i)
        buttons_[i]->SetCaption(items_->Get(i));
    if (itemIndex_ >= items_->Count())
        itemIndex_ = -1;
    SetItemIndex(itemIndex_);
    ArrangeButtons();
}

void TRadioGroup::ArrangeButtons()
{
    if (buttons_.empty())
        return;
    const RECT inner = InnerRect();
    const int rows = (ButtonCount() + columns_ - 1) / columns_;
    const int columnWidth = (inner.right - inner.left - 6) / columns_;
    const int rowHeight = (inner.bottom - inner.top) / rows;
    for (int i = 0; i < ButtonCount(); ++i) {
        const int column = i / rows, row = i % rows;
        const int height = rowHeight < 17 ? rowHeight : 17;
        buttons_[i]->SetBounds(inner.left + 6 + column * columnWidth, inner.top + row * rowHeight + (rowHeight - height) / 2,
                               columnWidth - 4, height);
    }
}

void TRadioGroup::BoundsChanged()
{
    TCustomGroupBox::BoundsChanged();
    ArrangeButtons();
}

void TRadioGroup::FontChanged()
{
    TCustomGroupBox::FontChanged();
    ArrangeButtons();
}
