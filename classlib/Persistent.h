#pragma once

// Root of every object whose properties can be read and written by name (components,
// fonts, pictures, string lists, collection items).
class TPersistent {
public:
    TPersistent() = default;
    virtual ~TPersistent() = default;
    TPersistent(const TPersistent&) = default;
    TPersistent& operator=(const TPersistent&) = default;
};
