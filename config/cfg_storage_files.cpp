#include "config/cfg_storage_files.h"

#include "config/cfg_binary_format.h"
#include "config/cfg_file_io.h"
#include "config/cfg_image_limits.h"

#include <cstring>

CACfgStorageFiles::CACfgStorageFiles(CfgValueTree& tree, DWORD flags, Target target,
                                     const CACfgStorageInfo& info)
    : CACfgStorage(tree, flags), target_(target), text_((flags & kCfgFormatText) != 0) {
    if (info.path != nullptr)
        path_ = info.path;
    buffer_ = info.buffer;
    block_ = static_cast<unsigned char*>(info.memory);
    blockSize_ = info.memorySize;
    separators_ = {info.separators[0], info.separators[1], info.separators[2]};
}

bool CACfgStorageFiles::Load(const char*) {
    if (state_ == State::Read)
        return false;
    return ReadImage();
}

bool CACfgStorageFiles::ReadImage() {
    const std::optional<CfgBytes> image = FetchImage();
    const auto values = image ? Decode(*image) : std::nullopt;
    if (!values) {
        state_ = State::Unreadable;
        return false;
    }
    state_ = State::Read;
    imageHadValues_ = !values->empty();
    Tree().PutLoaded(*values, Flags(), false);
    return true;
}

// The image as it is now; nothing when it cannot be read or is beyond the image limit. A file
// that is not there is an empty image: the first save creates it.
std::optional<CfgBytes> CACfgStorageFiles::FetchImage() {
    switch (target_) {
    case Target::File: {
        CfgBytes content;
        const CfgFileRead read = ReadCfgFile(path_, kCfgImageLimit, content);
        if (read == CfgFileRead::Failed)
            return std::nullopt;
        return content;
    }
    case Target::Buffer:
        if (buffer_->size() > kCfgImageLimit)
            return std::nullopt;
        return *buffer_;
    case Target::Block:
        if (blockSize_ > kCfgImageLimit)
            return std::nullopt;
        return CfgBytes(block_, block_ + blockSize_);
    }
    return std::nullopt;
}

std::optional<std::vector<CfgLoadedValue>> CACfgStorageFiles::Decode(const CfgBytes& image) const {
    return text_ ? DecodeCfgText(image, separators_) : DecodeCfgBinary(image);
}

bool CACfgStorageFiles::Save() {
    // Values of the image that were never read would be lost by writing the image anew, and an
    // image that cannot be read must not be overwritten at all.
    if (state_ != State::Read && !ReadImage())
        return KeepChanged(Tree().Collect(Flags(), true));
    const std::vector<CfgValueCopy> values = Tree().Collect(Flags(), false);
    bool allEncoded = true;
    std::vector<CfgBytes> records;
    for (const CfgValueCopy& value : values) {
        if (!value.current)
            continue;
        std::optional<CfgBytes> record = EncodeRecord(value);
        if (!record) {
            allEncoded = false;
            continue;
        }
        if (!record->empty())
            records.push_back(std::move(*record));
    }
    if (records.empty() && !imageHadValues_)
        return allEncoded;
    if (!WriteImage(records))
        return KeepChanged(values);
    imageHadValues_ = !records.empty();
    return allEncoded;
}

// The image could not be written: its changed values are to be saved by the next save.
bool CACfgStorageFiles::KeepChanged(const std::vector<CfgValueCopy>& values) {
    for (const CfgValueCopy& value : values) {
        if ((value.flags & kCfgChanged) != 0)
            Tree().KeepChanged(value.name);
    }
    return false;
}

std::optional<CfgBytes> CACfgStorageFiles::EncodeRecord(const CfgValueCopy& value) const {
    const CfgBytes& data = *value.current;
    return text_ ? EncodeCfgTextRecord(value.name, data, separators_)
                 : EncodeCfgBinaryRecord(value.name, data);
}

bool CACfgStorageFiles::WriteImage(const std::vector<CfgBytes>& records) {
    if (target_ == Target::Block)
        return WriteBlock(records);
    CfgBytes image;
    for (const CfgBytes& record : records)
        image.insert(image.end(), record.begin(), record.end());
    if (target_ == Target::Buffer) {
        *buffer_ = std::move(image);
        return true;
    }
    return ReplaceCfgFile(path_, image, (Flags() & kCfgCreateFolder) != 0);
}

// Only whole records go into the block: a record cut at its end would read back as a different
// value. The rest of the block is zero-filled; false when not every record fitted.
bool CACfgStorageFiles::WriteBlock(const std::vector<CfgBytes>& records) {
    size_t used = 0;
    bool allFitted = true;
    for (const CfgBytes& record : records) {
        if (record.size() > blockSize_ - used) {
            allFitted = false;
            continue;
        }
        std::memcpy(block_ + used, record.data(), record.size());
        used += record.size();
    }
    std::memset(block_ + used, 0, blockSize_ - used);
    return allFitted;
}
