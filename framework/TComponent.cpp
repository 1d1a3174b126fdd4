#include "framework/TComponent.h"

#include <QMetaProperty>

#include <algorithm>

namespace {

void eraseOne(std::vector<TComponent*>& list, TComponent* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end())
        list.erase(it);
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// An exact match first; otherwise the most derived class's property of that name in any case,
// so "WIDTH" finds the classic Width before Qt's own read-only "width".
int findProperty(const QMetaObject* meta, const QString& name) {
    const int exact = meta->indexOfProperty(name.toLatin1().constData());
    if (exact >= 0)
        return exact;
    for (int i = meta->propertyCount() - 1; i >= 0; --i)
        if (sameName(QString::fromLatin1(meta->property(i).name()), name))
            return i;
    return -1;
}

} // namespace

TComponent::TComponent(QObject* self, TComponent* owner) : self_(self) {
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent() {
    // Owners normally freed their components already; whatever is left is freed now, while
    // the QObject part of this component still stands.
    DestroyComponents();
    destroying_ = true;
    // Tell those that asked; each also forgets us.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        eraseOne(other->freeNotifies_, this);
        other->Notification(this, opRemove);
    }
    if (owner_)
        owner_->RemoveComponent(this);
}

QString TComponent::Name() const {
    return self_->objectName();
}

void TComponent::SetName(const QString& name) {
    if (name == Name())
        return;
    if (owner_ && !name.isEmpty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this)
            throw EComponentError("A component named " + name.toStdString() + " already exists");
    }
    self_->setObjectName(name);
}

int TComponent::ComponentIndex() const {
    if (!owner_)
        return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const QString& name) const {
    if (name.isEmpty())
        return nullptr;
    for (TComponent* c : components_)
        if (sameName(c->Name(), name))
            return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->owner_ == this)
        return;
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    insert(component);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->owner_ != this)
        return;
    Notification(component, opRemove);
    remove(component);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component) {
        eraseOne(freeNotifies_, component);
        eraseOne(component->freeNotifies_, this);
    }
    // Copy: a receiver may free components while it is being told.
    const std::vector<TComponent*> list = components_;
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (std::find(components_.begin(), components_.end(), *it) != components_.end())
            (*it)->Notification(component, operation);
    }
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
        component->freeNotifies_.end())
        component->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component)
        return;
    eraseOne(freeNotifies_, component);
    eraseOne(component->freeNotifies_, this);
}

void TComponent::DestroyComponents() {
    destroying_ = true;
    while (!components_.empty()) {
        TComponent* last = components_.back();
        // The others still hear of it, so cross references are dropped before it goes.
        components_.pop_back();
        last->owner_ = nullptr;
        Notification(last, opRemove);
        delete last->self_;
    }
}

TComponent* TComponent::ComponentFromObject(QObject* object) {
    return dynamic_cast<TComponent*>(object);
}

void TComponent::insert(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::remove(TComponent* component) {
    eraseOne(components_, component);
    component->owner_ = nullptr;
}

TNonVisualComponent::TNonVisualComponent(TComponent* owner)
    : QObject(owner ? owner->Object() : nullptr), TComponent(this, owner) {}

TNonVisualComponent::~TNonVisualComponent() {
    DestroyComponents();
}

bool IsPublishedProp(const QObject* object, const QString& name) {
    return object && findProperty(object->metaObject(), name) >= 0;
}

QVariant GetPublishedProp(const QObject* object, const QString& name) {
    int index = object ? findProperty(object->metaObject(), name) : -1;
    if (index < 0)
        throw EPropertyError("Property " + name.toStdString() + " does not exist");
    return object->metaObject()->property(index).read(object);
}

void SetPublishedProp(QObject* object, const QString& name, const QVariant& value) {
    int index = object ? findProperty(object->metaObject(), name) : -1;
    if (index < 0)
        throw EPropertyError("Property " + name.toStdString() + " does not exist");
    QMetaProperty prop = object->metaObject()->property(index);
    if (!prop.isWritable())
        throw EPropertyError("Property " + name.toStdString() + " is read-only");
    if (!prop.write(object, value))
        throw EPropertyError("Invalid property value");
}
