// The base of every class stored in the scene document.
#pragma once

class ArchiveHandle;

// Reading is not virtual: each class has its own reader, or its owner reads
// it. Writing mirrors that reader; through the program's archive, whose write
// slots are empty, it writes nothing.
class DS_IOF_Item {
public:
    virtual ~DS_IOF_Item() = default;

    // Writes the object's record: header, own fields, then its base's record.
    virtual void Write(ArchiveHandle& archive) = 0;

protected:
    DS_IOF_Item() = default;
    DS_IOF_Item(const DS_IOF_Item&) = default;
    DS_IOF_Item& operator=(const DS_IOF_Item&) = default;
};
