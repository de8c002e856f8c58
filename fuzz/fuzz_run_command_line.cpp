// The command-line reader on arbitrary text: the program name split, the job
// classification and the --run fields, and the writer/reader round trip.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzText.h"
#include "IconvCodePage.h"
#include "app/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    static const mivra::test::IconvCodePage codePage("CP936");

    const std::wstring line = mivra::test::FuzzText(data, size);

    const std::wstring_view arguments = mivra::ArgumentsOf(line);
    if (arguments.size() > line.size()) std::abort();
    if (mivra::ClassifyCommandLine(arguments) != mivra::CommandLineJob::Run) return 0;

    const mivra::RunRequest request = mivra::ReadRunRequest(codePage, arguments);
    (void)mivra::ShouldLaunch(request);
    (void)mivra::ShowCommandOf(request);
    const std::wstring dir = mivra::WorkingDirectoryFor(request.path);
    if (!dir.empty() && !request.path.starts_with(dir)) std::abort();

    // What the writer makes of a request, the reader gives back as the code
    // page keeps it.
    auto kept = [&](const std::wstring& s) { return codePage.FromAnsi(codePage.ToAnsi(s)); };
    const mivra::RunRequest expected{kept(request.operation), kept(request.path), kept(request.argument),
                                     kept(request.show)};
    const std::wstring written = mivra::FormatRunArguments(codePage, request);
    if (mivra::ReadRunRequest(codePage, written) != expected) std::abort();
    return 0;
}
