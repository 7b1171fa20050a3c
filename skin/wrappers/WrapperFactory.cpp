#include "skin/wrappers/WrapperFactory.h"

#include "skin/wrappers/SkinBitButton.h"
#include "skin/wrappers/SkinBox.h"
#include "skin/wrappers/SkinBoxH.h"
#include "skin/wrappers/SkinButton.h"
#include "skin/wrappers/SkinCheckBox.h"
#include "skin/wrappers/SkinComBox.h"
#include "skin/wrappers/SkinEdit.h"
#include "skin/wrappers/SkinGroupBox.h"
#include "skin/wrappers/SkinObjImage.h"
#include "skin/wrappers/SkinProgress.h"
#include "skin/wrappers/SkinListView.h"
#include "skin/wrappers/SkinRadioButton.h"
#include "skin/wrappers/SkinScControl.h"
#include "skin/wrappers/SkinScrollbar.h"
#include "skin/wrappers/SkinSizer.h"
#include "skin/wrappers/SkinSpeedButton.h"
#include "skin/wrappers/SkinStatusBar.h"
#include "skin/wrappers/SkinTab.h"
#include "skin/wrappers/SkinTabSheet.h"
#include "skin/wrappers/SkinTrackBar.h"
#include "skin/wrappers/SkinUpDown.h"

namespace {
template <class T>
TSkinControl* Make(TComponent* owner)
{
    return new T(owner);
}
} // namespace

TWrapperFactory WrapperFactory(TWrapperKind kind)
{
    switch (kind) {
    case TWrapperKind::Button: return &Make<TSkinButton>;
    case TWrapperKind::BitButton: return &Make<TSkinBitButton>;
    case TWrapperKind::SpeedButton: return &Make<TSkinSpeedButton>;
    case TWrapperKind::CheckBox: return &Make<TSkinCheckBox>;
    case TWrapperKind::RadioButton: return &Make<TSkinRadioButton>;
    case TWrapperKind::GroupBox: return &Make<TSkinGroupBox>;
    case TWrapperKind::Box: return &Make<TSkinBox>;
    case TWrapperKind::BoxH: return &Make<TSkinBoxH>;
    case TWrapperKind::TabSheet: return &Make<TSkinTabSheet>;
    case TWrapperKind::StatusBar: return &Make<TSkinStatusBar>;
    case TWrapperKind::Scrollbar: return &Make<TSkinScrollbar>;
    case TWrapperKind::ListView: return &Make<TSkinListView>;
    case TWrapperKind::ScControl: return &Make<TSkinScControl>;
    case TWrapperKind::Sizer: return &Make<TSkinSizer>;
    case TWrapperKind::ComBox: return &Make<TSkinComBox>;
    case TWrapperKind::Edit: return &Make<TSkinEdit>;
    case TWrapperKind::UpDown: return &Make<TSkinUpDown>;
    case TWrapperKind::Progress: return &Make<TSkinProgress>;
    case TWrapperKind::TrackBar: return &Make<TSkinTrackBar>;
    case TWrapperKind::Tab: return &Make<TSkinTab>;
    case TWrapperKind::ObjImageCheck: return [](TComponent* o) -> TSkinControl* { return new TSkinObjImage(o, gkCheck); };
    case TWrapperKind::ObjImageRadio: return [](TComponent* o) -> TSkinControl* { return new TSkinObjImage(o, gkRadio); };
    case TWrapperKind::ObjImageCx: return [](TComponent* o) -> TSkinControl* { return new TSkinObjImage(o, gkCheckCx); };
    // Scroll bars, list views, combo boxes, edits, up-downs, progress bars, track bars, tabs
    // and the images handed to other families' check controls have no wrapper yet.
    default: return nullptr;
    }
}

TSkinControl* NewWrapper(TWrapperKind kind, TComponent* owner)
{
    TWrapperFactory factory = WrapperFactory(kind);
    return factory ? factory(owner) : nullptr;
}
