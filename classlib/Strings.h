#pragma once
#include <functional>
#include <string>
#include <vector>

#include "classlib/Persistent.h"

// A list of UTF-8 strings, each with an optional object. TStrings is the interface (controls
// keep their items in a window and implement the primitives); TStringList keeps them itself.
class TStrings : public TPersistent {
public:
    // Called after every change, unless an update is in progress (then once at its end).
    std::function<void(TStrings& sender)> OnChange;

    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual TPersistent* GetObject(int index) const = 0;
    virtual void Put(int index, const std::string& text) = 0;
    virtual void PutObject(int index, TPersistent* object) = 0;
    virtual void Insert(int index, const std::string& text, TPersistent* object = nullptr) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    std::string operator[](int index) const { return Get(index); }
    int Add(const std::string& text, TPersistent* object = nullptr);
    void Append(const std::string& text) { Add(text); }
    // Exact comparison; -1 when absent.
    virtual int IndexOf(const std::string& text) const;
    int IndexOfObject(const TPersistent* object) const;
    void Move(int from, int to);
    void Exchange(int a, int b);

    // The lines joined, each followed by CR LF. SetText splits at CR LF, LF or CR.
    std::string Text() const;
    void SetText(const std::string& text);
    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string>& lines);
    void AddStrings(const TStrings& other);
    void Assign(const TStrings& other); // the texts and objects of the other list

    // Lines of the form name=value.
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    std::string Values(const std::string& name) const;
    int IndexOfName(const std::string& name) const;

    // Changes in between raise OnChange once, at the end.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }

protected:
    TStrings() = default;
    TStrings(const TStrings&) = default;
    TStrings& operator=(const TStrings&) = default;
    // Subclasses call this after each change.
    void Changed();
    // Raises EStringListError "List index out of bounds (n)" unless 0 <= index < limit.
    static void CheckIndex(int index, int limit);

private:
    int updateCount_ = 0;
    bool changedWhileUpdating_ = false;
};

class TStringList : public TStrings {
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> lines);
    TStringList(const TStringList& other);
    TStringList& operator=(const TStringList& other);

    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override;
    TPersistent* GetObject(int index) const override;
    void Put(int index, const std::string& text) override;
    void PutObject(int index, TPersistent* object) override;
    void Insert(int index, const std::string& text, TPersistent* object = nullptr) override;
    void Delete(int index) override;
    void Clear() override;

    // Objects are not owned unless OwnsObjects is set; then Delete/Clear/destruction free them.
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool value) { ownsObjects_ = value; }
    ~TStringList() override;

private:
    struct TItem {
        std::string text;
        TPersistent* object = nullptr;
    };
    std::vector<TItem> items_;
    bool ownsObjects_ = false;
};
