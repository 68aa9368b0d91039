#pragma once
// A storage that keeps the whole configuration as one image, in the text or the binary format:
// in a file, in a growing memory buffer object, or in a fixed memory block.

#include "config/cfg.h"
#include "config/cfg_file_io.h"
#include "config/cfg_storage.h"
#include "config/cfg_text_format.h"

#include <optional>
#include <string>

class CACfgStorageFiles : public CACfgStorage {
public:
    enum class Target { File, Buffer, Block };

    // Takes the path (File), the buffer object (Buffer) or the memory block (Block) from `info`.
    // The format is text with kCfgFormatText in `flags`, else binary.
    CACfgStorageFiles(CfgValueTree& tree, DWORD flags, Target target, const CACfgStorageInfo& info);

    // Reads the whole image into the tree, once; a second load returns false, and so does a
    // file that is not there.
    bool Load(const char* name) override;
    // Writes every value of this storage that differs from its default, replacing the image.
    // An image that could not be read, or not whole, is left as it is and the save fails.
    bool Save() override;

private:
    // Partial: read, but not whole (its values are in the tree; the image is never replaced).
    enum class State { NotRead, Read, Partial, Unreadable };

    void ReadImage(bool missingIsEmpty);
    CfgFileRead FetchImage(CfgBytes& image);
    std::optional<CfgDecodedImage> Decode(const CfgBytes& image) const;
    std::optional<CfgBytes> EncodeRecord(const CfgValueCopy& value) const;
    bool WriteImage(const std::vector<CfgBytes>& records);
    bool WriteBlock(const std::vector<CfgBytes>& records);
    bool KeepChanged(const std::vector<CfgValueCopy>& values);

    const Target target_;
    const bool text_;
    std::wstring path_;
    std::vector<unsigned char>* buffer_ = nullptr;
    unsigned char* block_ = nullptr;
    size_t blockSize_ = 0;
    CfgTextSeparators separators_;
    State state_ = State::NotRead;
    // Whether the image read held any value; an image that had none is left alone by a save
    // that has nothing to write.
    bool imageHadValues_ = false;
};
