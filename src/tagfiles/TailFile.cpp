#include "tagfiles/TailFile.h"

#include "files/FileDescriptor.h"


TagState CheckMp3File(int fd, qint64 length, TagBlock &tail)
{
    std::array<unsigned char, 4> header{};  // the fourth byte is read but not tested
    if (readAt(fd, header.data(), qint64(header.size()), 0) < 0 || !IsMp3Header(header[0], header[1], header[2]))
        return TagState::NotMp3;
    if (length < kTagBlockSize)
        return TagState::NoTag;
    if (readAt(fd, tail.data(), kTagBlockSize, length - kTagBlockSize) != kTagBlockSize)
        return TagState::NotMp3;
    return hasTagMagic(tail) ? TagState::TagPresent : TagState::NoTag;
}

TagBlock savedBlock(const TagRecord &fields, const TailBefore &before)
{
    return renderTagBlock(fields, before.hadBlock ? before.oldBlock : TagBlock{});
}

qint64 savedBlockOffset(const TailBefore &before)
{
    return before.length - (before.hadBlock ? kTagBlockSize : 0);
}

void undoTailWrite(int fd, const TailBefore &before)
{
    if (before.hadBlock)
        (void)!writeAt(fd, before.oldBlock.data(), kTagBlockSize, before.length - kTagBlockSize);
    else
        (void)!truncateFile(fd, before.length);
    (void)!syncData(fd);
}
