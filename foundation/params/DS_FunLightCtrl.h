// Binders: listeners that call a member function of a scene object when the
// parameter they listen to changes.
#pragma once

#include "foundation/params/MediaParam.h"

// Calls (target->*function)(value) with the parameter's value.
template <class T, class C>
class DS_FunLightCtrl : public MediaControlT<MediaParamTB<T>> {
public:
    using Callback = void (C::*)(T);

    DS_FunLightCtrl(Callback callback, C* object) : function(callback), target(object) {}

    void OnChanged(MediaControl*) override
    {
        // Attach(nullptr) would otherwise call through a null parameter.
        if (this->observed && target && function)
            (target->*function)(this->observed->value);
    }

    Callback function;
    C* target;
};

// Calls (target->*function)() when any parameter changes.
template <class C>
class DS_FunLightCtrl2 : public MediaControl {
public:
    using Callback = void (C::*)();

    DS_FunLightCtrl2(Callback callback, C* object) : function(callback), target(object) {}

    ~DS_FunLightCtrl2() override
    {
        if (observed)
            observed->RemoveListener(this);
    }

    // Joins parameter's listeners without calling the target.
    void AttachSilently(MediaParam* parameter)
    {
        if (observed)
            observed->RemoveListener(this);
        observed = parameter;
        if (observed)
            observed->AddListener(this);
    }

    void Detach() override { observed = nullptr; }

    void OnChanged(MediaControl*) override
    {
        if (target && function)
            (target->*function)();
    }

    Callback function;
    C* target;
    MediaParam* observed = nullptr;
};
