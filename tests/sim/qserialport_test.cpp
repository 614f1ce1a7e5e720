#include "simfixture.h"

#include <QSerialPort>

// The tool's own serial code, unchanged, on the simulator's pty through the
// shim: parity other than none must open and be answered.

TEST_F(SimTest, QSerialPortOpensAt9600EvenThroughShimAndGetsReply)
{
    startSim({"--settings", "9600,E,8,1", "--tx", "100000", "--rx", "999999", "--byte", "0xA3"});
    QSerialPort port;
    port.setPortName(QString::fromStdString(sim.ptyPath()));
    port.setBaudRate(9600);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::EvenParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
    EXPECT_EQ(port.parity(), QSerialPort::EvenParity);
    EXPECT_TRUE(port.setDataTerminalReady(true));
    EXPECT_TRUE(port.setRequestToSend(true));
    EXPECT_TRUE(sim.waitForLine("line 9600,E,8,1"));

    port.write(QByteArray::fromHex("F0CC0D"));
    ASSERT_TRUE(port.waitForBytesWritten(1000));
    QByteArray reply;
    while (reply.size() < 12 && port.waitForReadyRead(1000))
        reply += port.readAll();
    EXPECT_EQ(reply.toHex(' ').toUpper().toStdString(), "F0 AA A0 86 01 00 3F 42 0F 00 A3 0D");
    EXPECT_TRUE(sim.hasLine("modem DTR=on RTS=on"));

    // Changing parity on the open port works too, and the device notices.
    EXPECT_TRUE(port.setParity(QSerialPort::OddParity)) << port.errorString().toStdString();
    EXPECT_TRUE(sim.waitForLine("line 9600,O,8,1"));
    port.close();
    EXPECT_TRUE(sim.waitForLine("close"));
}
