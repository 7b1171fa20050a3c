#include "skin/data/SkinElements.h"

#include <utility>

TDataSkinObject::TDataSkinObject(std::string name) : Name(std::move(name)) {}

TDataSkinObject::~TDataSkinObject() = default;
