#pragma once
// Small published classes covering every property kind, for the type-information and
// stored-description tests.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/Collection.h"
#include "classlib/Component.h"
#include "classlib/Set.h"
#include "classlib/Strings.h"
#include "classlib/TypeInfo.h"

namespace testclasses {

enum TShape { stCircle, stSquare, stTriangle };
using TShapes = TSet<TShape>;
const TEnumInfo& ShapeInfo();
const TEnumInfo& ColorIdents(); // clBlack = 0, clRed = 255, clBtnFace = -16777201

// A sub-object (like a font).
class TPen : public TPersistent {
public:
    std::string Name() const { return name_; }
    void SetName(const std::string& v) { name_ = v; }
    int Size() const { return size_; }
    void SetSize(int v) { size_ = v; }

private:
    std::string name_ = "Default";
    int size_ = 8;
};

class TColumn : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& v) { caption_ = v; }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    TCollectionOf<TColumn>* Children() { return children_.get(); } // collections inside items

private:
    std::string caption_;
    int width_ = 50;
    std::unique_ptr<TCollectionOf<TColumn>> children_ = std::make_unique<TCollectionOf<TColumn>>();
};

using TPingEvent = std::function<void(TComponent* sender)>;
using TValueEvent = std::function<void(TComponent* sender, int value)>;

// One property of every kind. Records the order of events in a shared log.
class TGadget : public TComponent {
public:
    explicit TGadget(TComponent* owner = nullptr);
    ~TGadget() override;

    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; Log("Width"); }
    std::uint16_t Block() const { return block_; }
    void SetBlock(std::uint16_t v) { block_ = v; }
    int Color() const { return color_; }
    void SetColor(int v) { color_ = v; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string v) { caption_ = std::move(v); Log("Caption"); }
    float Ratio() const { return ratio_; }
    void SetRatio(float v) { ratio_ = v; }
    double Precise() const { return precise_; }
    void SetPrecise(double v) { precise_ = v; }
    TShape Shape() const { return shape_; }
    void SetShape(TShape v) { shape_ = v; }
    TShapes Shapes() const { return shapes_; }
    void SetShapes(TShapes v) { shapes_ = v; }
    bool Flag() const { return flag_; }
    void SetFlag(bool v) { flag_ = v; }
    TGadget* Buddy() const { return buddy_; }
    void SetBuddy(TGadget* v);
    TPen* Pen() const { return pen_.get(); }
    std::vector<std::uint8_t> Data() const { return data_; }
    void SetData(const std::vector<std::uint8_t>& v) { data_ = v; }
    const std::vector<std::string>& Lines() const { return lines_; }
    void SetLines(const std::vector<std::string>& v) { lines_ = v; }
    TStringList* Items() const { return items_.get(); }
    TCollectionOf<TColumn>* Columns() { return &columns_; }
    int ReadOnly() const { return 7; }

    TPingEvent OnPing;
    TValueEvent OnValue;

    // The parent a description gives (its enclosing object).
    TComponent* ParentSeen = nullptr;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return ParentSeen; }
    void SetParentComponent(TComponent* parent) override { ParentSeen = parent; }

    // What Loaded saw: every property already set, the buddy resolved.
    bool LoadedCalled = false;
    std::string CaptionAtLoaded;
    TGadget* BuddyAtLoaded = nullptr;
    bool LoadingAtLoaded = false;
    void Loaded() override;

    // Where setters and Loaded record themselves, when set.
    static inline std::vector<std::string>* SharedLog = nullptr;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Log(const std::string& what);

    int width_ = 0;
    std::uint16_t block_ = 512;
    int color_ = 0;
    std::string caption_;
    float ratio_ = 0.2f;
    double precise_ = 0;
    TShape shape_ = stCircle;
    TShapes shapes_;
    bool flag_ = false;
    TGadget* buddy_ = nullptr;
    std::unique_ptr<TPen> pen_ = std::make_unique<TPen>();
    std::vector<std::uint8_t> data_;
    std::vector<std::string> lines_;
    std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
    TCollectionOf<TColumn> columns_;
};

// A gadget subclass that is registered.
class TBigGadget : public TGadget {
public:
    using TGadget::TGadget;
    int Extra() const { return extra_; }
    void SetExtra(int v) { extra_ = v; }

private:
    int extra_ = 0;
};

// A subclass nobody registered: it reads as a TBigGadget.
class TUnlistedGadget : public TBigGadget {
public:
    using TBigGadget::TBigGadget;
};

// A form-like root with published methods and fields.
class TTestForm : public TComponent {
public:
    using TComponent::TComponent;

    TGadget* Gadget1 = nullptr;
    TGadget* Gadget2 = nullptr;
    TBigGadget* Big1 = nullptr;

    std::vector<std::string> Calls;
    void Ping(TComponent* sender) { Calls.push_back("Ping " + sender->Name()); }
    void Pong(TComponent* sender) { Calls.push_back("Pong " + sender->Name()); }
    void Value(TComponent* sender, int value) { Calls.push_back(sender->Name() + "=" + std::to_string(value)); }

    bool RootLoaded = false;
    std::size_t ChildrenLoadedBeforeRoot = 0;
    void Loaded() override;
};

// Registers the classes above in Classes() (once).
void RegisterTestClasses();

} // namespace testclasses
