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

// A file that is not there fails the load; the first save creates it.
bool CACfgStorageFiles::Load(const char*) {
    if (state_ == State::Read || state_ == State::Partial)
        return false;
    ReadImage(false);
    return state_ == State::Read || state_ == State::Partial;
}

// Puts the values of the image into the tree and sets the state by what was found.
void CACfgStorageFiles::ReadImage(bool missingIsEmpty) {
    CfgBytes image;
    const CfgFileRead read = FetchImage(image);
    if (read == CfgFileRead::Missing && !missingIsEmpty)
        return;
    const auto decoded = read == CfgFileRead::Failed ? std::nullopt : Decode(image);
    if (!decoded) {
        state_ = State::Unreadable;
        return;
    }
    state_ = decoded->whole ? State::Read : State::Partial;
    imageHadValues_ = !decoded->values.empty();
    Tree().PutLoaded(decoded->values, Flags(), false);
}

// Fails when the image cannot be read or is beyond the image limit.
CfgFileRead CACfgStorageFiles::FetchImage(CfgBytes& image) {
    switch (target_) {
    case Target::File:
        return ReadCfgFile(path_, kCfgImageLimit, image);
    case Target::Buffer:
        if (buffer_->size() > kCfgImageLimit)
            return CfgFileRead::Failed;
        image = *buffer_;
        return CfgFileRead::Read;
    case Target::Block:
        if (blockSize_ > kCfgImageLimit)
            return CfgFileRead::Failed;
        image.assign(block_, block_ + blockSize_);
        return CfgFileRead::Read;
    }
    return CfgFileRead::Failed;
}

std::optional<CfgDecodedImage> CACfgStorageFiles::Decode(const CfgBytes& image) const {
    return text_ ? DecodeCfgText(image, separators_) : DecodeCfgBinary(image);
}

bool CACfgStorageFiles::Save() {
    // Values of the image that were never read would be lost by writing the image anew, and an
    // image that cannot be read, or holds more than its values, must not be overwritten at all.
    if (state_ != State::Read)
        ReadImage(true);
    if (state_ != State::Read)
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
