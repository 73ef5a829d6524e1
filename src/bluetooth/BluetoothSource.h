#pragma once

class MonitorDeviceSource;
class QObject;

// Monitors found by Bluetooth (BluetoothDeviceSource), for code that does not see Qt Bluetooth.
MonitorDeviceSource *createBluetoothDeviceSource(QObject *parent);
