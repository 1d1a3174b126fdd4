#pragma once
// The component model.
//
// A component is a QObject that also carries this mixin: a name (the QObject's objectName), an
// owner, and the list of the components it owns. The owner is not the Qt parent: for a control
// the Qt parent is its visual parent, for a non-visual component (TNonVisualComponent) it is the
// owner. The owner frees what it owns when it goes (DestroyComponents, called by the form and
// the other owners from their destructors); a component freed earlier by someone else (its Qt
// parent, `delete`) leaves its owner's list in its destructor, so nothing is deleted twice.
//
//   TComponent(QObject* self, TComponent* owner)   // self: the QObject this mixin belongs to
//   Name(), SetName(n)                             // objectName; SetName refuses a duplicate
//   Owner(), ComponentCount(), Components(i), ComponentIndex()
//   FindComponent(name)                            // owned components only, case-insensitive
//   InsertComponent(c), RemoveComponent(c)         // move ownership; both send notices
//   virtual Notification(c, opInsert/opRemove)     // the owner tells itself and all it owns
//   FreeNotification(c), RemoveFreeNotification(c)  // "tell c when I am destroyed"
//   Destroying()                                   // true once DestroyComponents has begun
//   ComponentFromObject(QObject*)                  // the mixin of a QObject, or nullptr
//
// Removal notices for a component that is being destroyed arrive from its ~TComponent: its
// Name() still answers, but its derived parts are gone, so receivers compare pointers only.
//
// Published properties are the Q_PROPERTYs of the object's class and its ancestors; the
// functions at the end look them up by name (without regard to case) and fail with
// EPropertyError "Property %s does not exist" for a name the class does not publish.
#include "framework/core/Exception.h"

#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

class TComponent;

enum TOperation { opInsert, opRemove };

// A plain notification: the only argument is the sender.
using TNotifyEvent = std::function<void(TComponent* sender)>;

class EComponentError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EComponentError"; }
};

class EPropertyError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EPropertyError"; }
};

class TComponent {
public:
    TComponent(QObject* self, TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    QObject* Object() const { return self_; }

    QString Name() const;
    // Throws EComponentError "A component named %s already exists" when the owner already
    // owns another component of that name (compared without regard to case).
    void SetName(const QString& name);

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<std::size_t>(index)); }
    // Position in the owner's list, -1 without an owner.
    int ComponentIndex() const;
    TComponent* FindComponent(const QString& name) const;

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    // Called on the owner and on every component it owns when a component is inserted into or
    // removed from the owner, and on the components that asked for a free notification.
    virtual void Notification(TComponent* component, TOperation operation);

    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Frees every owned component, last first. Owners call it from their destructors while
    // their QObject is still whole.
    void DestroyComponents();
    bool Destroying() const { return destroying_; }

    static TComponent* ComponentFromObject(QObject* object);

private:
    void insert(TComponent* component);
    void remove(TComponent* component);

    QObject* self_;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    bool destroying_ = false;
};

// A component that is not a control: timers, menus, dialogs, managers. Its Qt parent is its
// owner's object, so Qt keeps it alive as long as the owner.
class TNonVisualComponent : public QObject, public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
public:
    explicit TNonVisualComponent(TComponent* owner);
    ~TNonVisualComponent() override;

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

private:
    int tag_ = 0;
};

// Published-property access by name.
bool IsPublishedProp(const QObject* object, const QString& name);
QVariant GetPublishedProp(const QObject* object, const QString& name);
void SetPublishedProp(QObject* object, const QString& name, const QVariant& value);

// Calls an event handler when it is set.
template <typename F, typename... A> inline void CallEvent(const F& handler, A&&... args) {
    if (handler)
        handler(std::forward<A>(args)...);
}
