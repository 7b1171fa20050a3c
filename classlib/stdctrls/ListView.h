#pragma once
#include <memory>
#include <string>
#include <vector>

#include "classlib/Collection.h"
#include "classlib/Strings.h"
#include "classlib/controls/WinControl.h"

class TCustomListView;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TListColumn : public TCollectionItem {
public:
    explicit TListColumn(TCollection* collection) : TCollectionItem(collection) {}
    std::string Caption() const { return caption_; }
    void SetCaption(std::string value);
    int Width() const;
    void SetWidth(int value);

private:
    friend class TCustomListView;
    std::string caption_;
    int width_ = 50;
};

class TListColumns : public TCollectionOf<TListColumn> {
public:
    explicit TListColumns(TCustomListView& owner) : owner_(owner) {}
    TCustomListView& Owner() const { return owner_; }

private:
    TCustomListView& owner_;
};

class TListItems;

// One row: its caption (first column), the texts of the further columns and its check box.
class TListItem : public TPersistent {
public:
    explicit TListItem(TListItems& owner);
    ~TListItem() override;
    TListItem(const TListItem&) = delete;
    TListItem& operator=(const TListItem&) = delete;

    std::string Caption() const { return caption_; }
    void SetCaption(std::string value);
    TStrings* SubItems() const { return subItems_.get(); }
    // Read from the window, where the user ticks it.
    bool Checked() const;
    void SetChecked(bool value);
    bool Selected() const;
    void SetSelected(bool value);
    int Index() const;
    void* Data() const { return data_; }
    void SetData(void* value) { data_ = value; }
    // Removes the row from its list (and deletes it).
    void Delete();

private:
    friend class TListItems;
    friend class TCustomListView;
    void UpdateRow();

    TListItems& owner_;
    std::string caption_;
    std::unique_ptr<TStringList> subItems_;
    bool checked_ = false;
    void* data_ = nullptr;
};

class TListItems : public TPersistent {
public:
    explicit TListItems(TCustomListView& owner) : owner_(owner) {}
    ~TListItems() override;
    TListItems(const TListItems&) = delete;
    TListItems& operator=(const TListItems&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    TListItem* Item(int index) const { return items_.at(index).get(); }
    TListItem* operator[](int index) const { return Item(index); }
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;
    void BeginUpdate();
    void EndUpdate();
    TCustomListView& Owner() const { return owner_; }

private:
    friend class TCustomListView;
    TCustomListView& owner_;
    std::vector<std::unique_ptr<TListItem>> items_;
    int updateCount_ = 0;
};

// A list view over the system SysListView32 class; the rows and columns live in the
// control and the window follows them.
class TCustomListView : public TWinControl {
public:
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    TListColumns* Columns() const { return columns_.get(); }
    TCollectionAccess* ColumnsAccess() { return columns_.get(); }
    TListItems* Items() const { return items_.get(); }

    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle value);
    bool Checkboxes() const { return checkboxes_; }
    void SetCheckboxes(bool value);
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool value);
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    // Off: a flat one-pixel border instead of the sunken edge.
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);

    TListItem* Selected() const;
    int ItemIndex() const;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWnd() override;
    void SaveWndState() override;
    void WndProc(TMessage& message) override;

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    void ApplyExtendedStyle();
    void FillColumns();
    void FillRows();
    void InsertRow(int index);
    void DeleteRow(int index);
    void UpdateRow(int index);
    void UpdateColumn(int index);

    std::unique_ptr<TListColumns> columns_;
    std::unique_ptr<TListItems> items_;
    TViewStyle viewStyle_ = vsIcon;
    bool checkboxes_ = false;
    bool gridLines_ = false;
    bool rowSelect_ = false;
    bool readOnly_ = false;
    bool hideSelection_ = true;
    bool multiSelect_ = false;
    TBorderStyle borderStyle_ = bsSingle;
    bool ctl3D_ = true;
    bool syncing_ = false;
    int savedSelection_ = -1;
};

class TListView : public TCustomListView {
public:
    using TCustomListView::TCustomListView;
};
