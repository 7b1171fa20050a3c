#pragma once
#include <vector>

class TCustomForm;

// The program's forms, in creation order.
class TScreen {
public:
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(index); }
    // The form whose window is the active window, or nullptr.
    TCustomForm* ActiveForm() const;
    int Width() const;
    int Height() const;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form) { forms_.push_back(form); }
    void RemoveForm(TCustomForm* form);
    std::vector<TCustomForm*> forms_;
};

// The screen of the GUI thread.
TScreen& Screen();
