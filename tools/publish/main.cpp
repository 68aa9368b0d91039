// zapdate_publish: the maker's tool for publishing an update site that the wizard will trust.
// Run "zapdate_publish" without arguments for the usage.

#include "platform/text.h"
#include "tools/publish/file_bytes.h"
#include "tools/publish/signing_keys.h"
#include "tools/publish/version_file_check.h"
#include "tools/publish/version_file_hashes.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr char kUsage[] =
    "usage: zapdate_publish check FILE\n"
    "       zapdate_publish hash FILE --root DIR\n"
    "       zapdate_publish keygen PRIVATE PUBLIC\n"
    "       zapdate_publish sign FILE PRIVATE\n"
    "       zapdate_publish verify FILE PUBLIC\n"
    "\n"
    "check   Reads the version file FILE as the wizard does and prints one line per problem,\n"
    "        \"[section] key: problem\": incomplete sections and the keys they lack, keys that\n"
    "        look like parameters but are ignored, urls that cannot be split, methods other\n"
    "        than GET and POST, sections never chosen because an earlier one offers for the\n"
    "        same products, malformed sha256 values and sections longer than the wizard reads.\n"
    "        Exit code 0 when there is nothing to report, 1 otherwise.\n"
    "hash    Writes or updates \"sha256\" (64 hexadecimal digits) in every build section of\n"
    "        FILE whose url's path names a file under DIR (url http://host/dl/a.exe: "
    "DIR\\dl\\a.exe).\n"
    "        Every other byte of FILE stays as it was. The wizard installs a package only when\n"
    "        its bytes have that hash.\n"
    "keygen  Makes an ECDSA P-256 key pair. PRIVATE gets the private key, a "
    "BCRYPT_ECCPRIVATE_BLOB\n"
    "        (104 bytes: \"ECS2\", the key length 32 as 4 bytes little-endian, X, Y, d; 32 bytes\n"
    "        each, big-endian); keep it secret; an existing PRIVATE is never replaced. PUBLIC\n"
    "        gets the public key, a BCRYPT_ECCPUBLIC_BLOB (72 bytes: \"ECS1\", 32, X, Y). Build\n"
    "        the wizard with cmake -DZAPDATE_VERSION_FILE_KEY=PUBLIC to make it demand "
    "signatures.\n"
    "sign    Writes FILE.sig, the ECDSA P-256 signature over the SHA-256 of FILE's exact bytes:\n"
    "        r then s, 32 bytes each, big-endian, 64 bytes in all. Publish it beside the version\n"
    "        file as /downloads/update.ini.sig; sign again after every change (hash first).\n"
    "verify  Checks FILE.sig against FILE with PUBLIC, as the wizard will. Exit code 0 when it\n"
    "        holds.\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

void PrintLine(const std::wstring& line, FILE* stream = stdout) {
    std::fprintf(stream, "%s\n", platform::Utf8FromWide(line).c_str());
}

int Check(const std::wstring& file) {
    const std::vector<publish::VersionFileProblem> problems =
        publish::CheckVersionFile(publish::AbsolutePath(file));
    for (const publish::VersionFileProblem& problem : problems)
        PrintLine(publish::ProblemLine(problem));
    return problems.empty() ? 0 : 1;
}

int Hash(const std::wstring& file, const std::wstring& root) {
    std::vector<std::wstring> notes;
    const bool written =
        publish::HashVersionFile(publish::AbsolutePath(file), publish::AbsolutePath(root), notes);
    for (const std::wstring& note : notes)
        PrintLine(note, written ? stdout : stderr);
    return written ? 0 : 1;
}

int Report(bool done, const std::wstring& error) {
    if (!done)
        PrintLine(L"zapdate_publish: " + error, stderr);
    return done ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    const std::wstring command = args.empty() ? L"" : args[0];
    std::wstring error;
    if (command == L"check" && args.size() == 2)
        return Check(args[1]);
    if (command == L"hash" && args.size() == 4 && args[2] == L"--root")
        return Hash(args[1], args[3]);
    if (command == L"keygen" && args.size() == 3)
        return Report(publish::MakeKeyPair(args[1], args[2], error), error);
    if (command == L"sign" && args.size() == 3)
        return Report(publish::SignFile(args[1], args[2], error), error);
    if (command == L"verify" && args.size() == 3)
        return Report(publish::VerifyFileSignature(args[1], args[2], error), error);
    return Usage();
}
