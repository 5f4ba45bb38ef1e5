#include "editing/undo_ring.h"

namespace zelvor::editing {

namespace {

BlockSet differingBlocks(const model::ParameterImage::Bytes& a,
                         const model::ParameterImage::Bytes& b) {
    BlockSet blocks;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) blocks.set(static_cast<std::size_t>(model::ParameterImage::blockOf(i)));
    }
    return blocks;
}

}  // namespace

UndoRing::UndoRing() : slots_(kSlotCount) {}

void UndoRing::write(int position, const model::ParameterImage& image, int page) {
    Slot& slot = slots_[static_cast<std::size_t>(position)];
    slot.bytes = image.bytes();
    slot.page = static_cast<std::uint8_t>(page);
}

void UndoRing::init(const model::ParameterImage& image, int page) {
    oldest_ = current_ = newest_ = 0;
    write(0, image, page);
}

BlockSet UndoRing::record(const model::ParameterImage& image, int page) {
    const BlockSet changed =
        differingBlocks(slots_[static_cast<std::size_t>(current_)].bytes, image.bytes());
    if (changed.none()) return changed;
    current_ = next(current_);
    newest_ = current_;
    if (oldest_ == current_) oldest_ = next(oldest_);
    write(current_, image, page);
    return changed;
}

UndoRing::Restored UndoRing::restore(model::ParameterImage& image) const {
    const Slot& slot = slots_[static_cast<std::size_t>(current_)];
    Restored restored{differingBlocks(slot.bytes, image.bytes()), slot.page};
    image.bytes() = slot.bytes;
    return restored;
}

std::optional<UndoRing::Restored> UndoRing::undo(model::ParameterImage& image) {
    if (!canUndo()) return std::nullopt;
    current_ = previous(current_);
    return restore(image);
}

std::optional<UndoRing::Restored> UndoRing::redo(model::ParameterImage& image) {
    if (!canRedo()) return std::nullopt;
    current_ = next(current_);
    return restore(image);
}

}  // namespace zelvor::editing
