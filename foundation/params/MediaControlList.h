// The binders one object owns, and the two ways of binding a parameter to a
// member function of that object.
#pragma once

#include "foundation/params/DS_FunLightCtrl.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Owns its binders and deletes them, in the order they were added, when it is
// destroyed; a binder whose parameter has died already touches nothing. The
// list may also own an object (its owner) that it deletes after the binders.
// A list that is a member of its owner must never own it: owners that bind
// call SetOwner(this, false) first.
class MediaControlList {
public:
    MediaControlList() = default;
    MediaControlList(const MediaControlList&) = delete;
    MediaControlList& operator=(const MediaControlList&) = delete;
    ~MediaControlList();

    template <class O>
    void SetOwner(O* object, bool owns)
    {
        owner = object;
        ownsOwner = owns ? 1 : 0;
        deleteOwner = [](void* p) { delete static_cast<O*>(p); };
    }

    void* Owner() const { return owner; }
    bool OwnsOwner() const { return ownsOwner != 0; }

    void Add(std::unique_ptr<MediaControl> binder);
    std::size_t Count() const { return binders.size(); }
    MediaControl* At(std::size_t index) const { return binders[index].get(); }

private:
    void* owner = nullptr;
    uint8_t ownsOwner = 1;
    void (*deleteOwner)(void*) = nullptr;
    std::vector<std::unique_ptr<MediaControl>> binders;
};

namespace binding_detail {
// Keeps a template argument out of deduction, so the member function alone
// decides the target class and the parameter alone decides the value type.
template <class X> struct NonDeduced { using type = X; };
} // namespace binding_detail

// Binds function of target to parameter and calls it at once with the current
// value; the binder belongs to binders. Returns the binder (not owned).
template <class T, class C>
DS_FunLightCtrl<T, C>* BindParamCallback(MediaControlList& binders, MediaParamTB<T>& parameter,
                                         void (C::*function)(typename binding_detail::NonDeduced<T>::type),
                                         typename binding_detail::NonDeduced<C>::type* target)
{
    auto binder = std::make_unique<DS_FunLightCtrl<T, C>>(function, target);
    DS_FunLightCtrl<T, C>* bound = binder.get();
    // If the first call throws, the binder still leaves the parameter's list.
    binder->Attach(&parameter);
    binders.Add(std::move(binder));
    return bound;
}

// Binds function of target to parameter without calling it: the target is
// called at the parameter's first change. Returns the binder (not owned).
template <class C>
DS_FunLightCtrl2<C>* BindParamCallback2(MediaControlList& binders, MediaParam& parameter,
                                        void (C::*function)(),
                                        typename binding_detail::NonDeduced<C>::type* target)
{
    auto binder = std::make_unique<DS_FunLightCtrl2<C>>(function, target);
    DS_FunLightCtrl2<C>* bound = binder.get();
    binder->AttachSilently(&parameter);
    binders.Add(std::move(binder));
    return bound;
}
