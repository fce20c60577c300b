' 一个库存条目：名称与数量
Public Class InventoryItem

    Public ReadOnly Property Name As String
    Public Property Quantity As Integer

    Public Sub New(name As String, quantity As Integer)
        Me.Name = name
        Me.Quantity = quantity
    End Sub

    Public Overrides Function ToString() As String
        Return $"{Name}{vbTab}{Quantity}"
    End Function

End Class
