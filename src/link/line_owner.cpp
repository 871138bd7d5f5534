#include "link/line_owner.h"

#include <algorithm>

namespace gyrel {

LineOwner::Claim::Claim(Claim&& other) noexcept
    : owner_(other.owner_), id_(other.id_), refusedBy_(std::move(other.refusedBy_)) {
    other.owner_ = nullptr;
}

LineOwner::Claim& LineOwner::Claim::operator=(Claim&& other) noexcept {
    if (this != &other) {
        release();
        owner_ = other.owner_;
        id_ = other.id_;
        refusedBy_ = std::move(other.refusedBy_);
        other.owner_ = nullptr;
    }
    return *this;
}

void LineOwner::Claim::release() {
    if (owner_) owner_->drop(id_);
    owner_ = nullptr;
}

LineOwner::Claim LineOwner::claim(const std::string& who, Kind kind) {
    // A conversation excludes every other claim; polls may nest in polls (an
    // on-line toggle clicked inside a poll's wait) and yield to a conversation.
    for (auto it = holders_.rbegin(); it != holders_.rend(); ++it) {
        if (it->kind == Kind::Conversation) return Claim(it->who);
    }
    holders_.push_back({nextId_, who, kind});
    return Claim(this, nextId_++);
}

bool LineOwner::busy() const {
    return std::any_of(holders_.begin(), holders_.end(), [](const Holder& h) { return h.kind == Kind::Conversation; });
}

std::string LineOwner::holder() const { return holders_.empty() ? std::string() : holders_.back().who; }

void LineOwner::drop(int id) {
    holders_.erase(std::remove_if(holders_.begin(), holders_.end(), [id](const Holder& h) { return h.id == id; }),
                   holders_.end());
}

}  // namespace gyrel
