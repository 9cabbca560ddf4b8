// Listeners of media parameters: the abstract listener and the listener bound
// to one parameter.
#pragma once

class MediaParam;

// Told when the value of the parameter it listens to changes, and when that
// parameter goes away.
class MediaControl {
public:
    MediaControl() = default;
    MediaControl(const MediaControl&) = delete;
    MediaControl& operator=(const MediaControl&) = delete;
    virtual ~MediaControl() = default;

    // The observed parameter is being destroyed.
    virtual void Detach() {}
    // Every listener of the system answers false.
    virtual bool IsEditing() const { return false; }
    // The observed value changed; source is the listener that caused it, or null.
    virtual void OnChanged(MediaControl* source) = 0;
};

// A listener bound to one parameter of type P. It leaves the parameter's list
// when destroyed, and forgets the parameter when the parameter dies first.
template <class P>
class MediaControlT : public MediaControl {
public:
    MediaControlT() = default;
    ~MediaControlT() override
    {
        if (observed)
            observed->RemoveListener(this);
    }

    void Detach() override { observed = nullptr; }

    // Binds to parameter and derives from its current value at once.
    void Attach(P* parameter)
    {
        AttachSilently(parameter);
        OnChanged(nullptr);
    }

    // Binds without the first OnChanged call.
    void AttachSilently(P* parameter)
    {
        if (observed)
            observed->RemoveListener(this);
        observed = parameter;
        if (observed)
            observed->AddListener(this);
    }

    P* observed = nullptr;
};
