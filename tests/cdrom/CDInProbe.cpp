// Creates a CD input, as the main window does, and writes what happened to
// probe-result.txt beside itself: "loaded <drive count>" or the error text.
#include <string>

#include "cdrom/AudioCDROM.h"
#include "classlib/FileStream.h"
#include "classlib/Program.h"

int main()
{
    std::string result;
    try {
        TCDIn cd;
        result = "loaded " + std::to_string(cd.DriveCount());
    } catch (const Exception& e) {
        result = e.Message();
    }
    TFileStream out(ProgramFolder() + "probe-result.txt", fmCreate);
    out.WriteBuffer(result.data(), static_cast<std::int64_t>(result.size()));
    return 0;
}
