#pragma once
#include <string>

#include "classlib/Component.h"

// The system's file-save dialog. Filter is "Description|*.ext|Other|*.x;*.y".
class TSaveDialog : public TComponent {
public:
    explicit TSaveDialog(TComponent* owner) : TComponent(owner) {}

    std::string DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(std::string value) { defaultExt_ = std::move(value); }
    std::string Filter() const { return filter_; }
    void SetFilter(std::string value) { filter_ = std::move(value); }
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int value) { filterIndex_ = value; }
    std::string FileName() const { return fileName_; }
    void SetFileName(std::string value) { fileName_ = std::move(value); }
    std::string InitialDir() const { return initialDir_; }
    void SetInitialDir(std::string value) { initialDir_ = std::move(value); }
    std::string Title() const { return title_; }
    void SetTitle(std::string value) { title_ = std::move(value); }

    // True when the user chose a file (FileName holds it).
    bool Execute();

    // The filter in the system's form: pairs of NUL-terminated strings, then one more NUL.
    static std::wstring SystemFilter(const std::string& filter);

private:
    std::string defaultExt_;
    std::string filter_;
    int filterIndex_ = 1;
    std::string fileName_;
    std::string initialDir_;
    std::string title_;
};
