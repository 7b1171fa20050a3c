#pragma once
// TSkinMenuBar: paints a skinned frame's menu-bar strip and opens its drop-downs.
#include <windows.h>

class TSkinForm;

class TSkinMenuBar {
public:
    explicit TSkinMenuBar(TSkinForm* form) : Form(form) {}
    virtual ~TSkinMenuBar() = default;
    TSkinMenuBar(const TSkinMenuBar&) = delete;
    TSkinMenuBar& operator=(const TSkinMenuBar&) = delete;

    TSkinForm* Form;
};
