#pragma once
// The wrapper kinds the child dispatch hands controls to, and one factory per kind. A kind
// whose wrapper does not exist yet has no factory: its controls keep their own look.
class TComponent;
class TSkinControl;

enum class TWrapperKind {
    Button, BitButton, SpeedButton, CheckBox, RadioButton, GroupBox, Box, BoxH, TabSheet, StatusBar,
    ComBox, Edit, Scrollbar, ListView, ScControl, Sizer, UpDown, Progress, TrackBar, Tab,
    ObjImageCheck, ObjImageRadio, ObjImageCx,
};

using TWrapperFactory = TSkinControl* (*)(TComponent* owner);

// nullptr for a kind without a wrapper.
TWrapperFactory WrapperFactory(TWrapperKind kind);
// A new wrapper of the kind owned by `owner` (nobody for foreign windows), or nullptr.
TSkinControl* NewWrapper(TWrapperKind kind, TComponent* owner);
