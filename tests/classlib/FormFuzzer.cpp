// libFuzzer entry: any text given to the description parser and reader either builds
// components or raises EFormError, never a fault; what it builds writes out and reads back to
// the same text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "TestClasses.h"
#include "classlib/form/FormReader.h"
#include "classlib/form/FormWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    testclasses::RegisterTestClasses();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string written;
    {
        testclasses::TTestForm form;
        try {
            ReadFormText(text, form);
        } catch (const EFormError&) {
            return 0;
        }
        written = WriteFormText(form);
    }
    testclasses::TTestForm again;
    ReadFormText(written, again); // must not raise
    if (WriteFormText(again) != written)
        __builtin_trap();
    return 0;
}
