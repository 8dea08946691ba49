#include "app/SettingsStore.h"
#include "support/TestSupport.h"

#include <QApplication>

class SettingsStoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void missingStore_readsDefaults() { QCOMPARE(ReadCompression(), 5); }
};

LK_TEST_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"
