// The target that runtime objects draw into: a slide's background layer as
// its objects see it. It carries nothing of its own; the layer's drawing
// services are the operations of DS_2D_Light.
#pragma once

class DS_ABRender {
protected:
    DS_ABRender() = default;
    DS_ABRender(const DS_ABRender&) = default;
    DS_ABRender& operator=(const DS_ABRender&) = default;
    ~DS_ABRender() = default;
};
